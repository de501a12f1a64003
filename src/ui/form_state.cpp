#include "ui/form_state.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "core/errors.h"
#include "platform/work_area.h"
#include "platform/wstr.h"
#include "ui/actions.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/page_control.h"
#include "ui/spin_edit.h"
#include "ui/splitter.h"
#include "ui/velmor_path_edit.h"
#include "ui/velmor_spin_edit.h"

namespace vp::ui {

namespace {

constexpr char16_t kUnit[] = u"cINIFileEx";
constexpr wchar_t kFontProp[] = L"VpFormFont";
constexpr wchar_t kStateProp[] = L"VpWindowState";
// The font colour of every control: the system's window text colour (clWindowText).
constexpr std::int32_t kWindowTextColor = static_cast<std::int32_t>(0xFF000008);
// Client sizes beyond this are no window's and would overflow the frame arithmetic.
constexpr int kMaxClientSize = 65535;

bool IsSplitter(const TComponent& c) {
    return c.ClassName() == u"TSplitter" && dynamic_cast<const TControl*>(&c);
}

template <class T> T* As(TComponent& c) {
    return dynamic_cast<T*>(&c);
}

std::u16string UnsupportedText(const TComponent& c) {
    return u"Unsupported control: " + c.ClassName() + u", " + c.Name();
}

// ---- the window font

HFONT FormFont(const TForm& form) {
    // Made for the DPI the window had then; its controls have it for the DPI it has now.
    if (HANDLE font = GetPropW(form.Handle(), kFontProp))
        return FontForScreenDpi(static_cast<HFONT>(font));
    return DefaultFont();
}

IniFont ToIniFont(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    IniFont f;
    f.Name = U(lf.lfFaceName);
    f.CharSet = lf.lfCharSet;
    f.Color = kWindowTextColor;
    f.Size = static_cast<int>(
        std::lround(std::abs(lf.lfHeight) * 72.0 / static_cast<double>(ScreenDpi())));
    f.Style = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
              (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0);
    return f;
}

// Fonts made from the settings live as long as the process, like the windows using them.
HFONT MakeFont(const IniFont& f) {
    LOGFONTW lf{};
    lf.lfWeight = (f.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.Style & fsItalic) != 0;
    lf.lfUnderline = (f.Style & fsUnderline) != 0;
    lf.lfStrikeOut = (f.Style & fsStrikeOut) != 0;
    lf.lfCharSet = static_cast<BYTE>(f.CharSet & 0xFF);
    lstrcpynW(lf.lfFaceName, W(f.Name), LF_FACESIZE);
    return PointFont(lf, std::clamp(f.Size, 1, 500));
}

// The window takes the font, and so does every control that showed the window's old one.
void ApplyFormFont(TForm& form, const IniFont& f) {
    const HFONT old = FormFont(form);
    if (ToIniFont(old) == IniFont{f.Name, f.CharSet, kWindowTextColor, f.Size, f.Style})
        return;
    const HFONT font = MakeFont(f);
    if (!font)
        return;
    SetPropW(form.Handle(), kFontProp, font);
    for (size_t i = 0; i < form.ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(&form.Components(i)))
            if (reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0)) == old)
                control->SetFont(font);
}

// ---- geometry

// The frame around the client area: window size minus client size.
SIZE FrameSize(HWND hwnd) {
    RECT r{};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)),
                       GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

TVelmorIniFileEx::TVelmorIniFileEx(const std::u16string& SectionName,
                                   const std::u16string& ForcedPath)
    : TVelmorIniFile(SectionName, ForcedPath) {
    ShowPositionWarn = true;
}

bool TVelmorIniFileEx::IsSupported(const TComponent& c) const {
    if (!c.Stored())
        return false;
    return dynamic_cast<const TRadioButton*>(&c) || dynamic_cast<const TCheckBox*>(&c) ||
           dynamic_cast<const TAction*>(&c) || dynamic_cast<const TSpinEdit*>(&c) ||
           dynamic_cast<const TEdit*>(&c) || dynamic_cast<const TMenuItem*>(&c) ||
           dynamic_cast<const TVelmorPathEdit*>(&c) || dynamic_cast<const TPageControl*>(&c) ||
           IsSplitter(c) || dynamic_cast<const THotKey*>(&c);
}

void TVelmorIniFileEx::WriteGeometry(TControl& control) {
    const std::u16string& w = control.Name();
    HWND hwnd = control.Handle();
    auto* form = dynamic_cast<TForm*>(&control);
    if (form && IsZoomed(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    int top = control.Top(), left = control.Left();
    int width = control.ClientWidth(), height = control.ClientHeight();
    if (form) {
        const bool minimised = IsIconic(hwnd) != FALSE;
        WriteInteger(kStateSection, w + u"-WindowState", minimised ? 1 : 0);
        if (minimised) {
            // A minimised window sits off screen; its normal place is what comes back. That
            // place counts from the work area's corner, which a taskbar at the top or the
            // left moves away from the screen's.
            WINDOWPLACEMENT wp{sizeof(wp)};
            GetWindowPlacement(hwnd, &wp);
            const SIZE frame = FrameSize(hwnd);
            const MonitorAreas areas = MonitorAreasOf(hwnd);
            top = wp.rcNormalPosition.top + areas.work.top - areas.monitor.top;
            left = wp.rcNormalPosition.left + areas.work.left - areas.monitor.left;
            width = wp.rcNormalPosition.right - wp.rcNormalPosition.left - frame.cx;
            height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top - frame.cy;
        }
    }
    WriteInteger(kStateSection, w + u"-Top", top);
    WriteInteger(kStateSection, w + u"-Left", left);
    WriteInteger(kStateSection, w + u"-ClWidth", width);
    WriteInteger(kStateSection, w + u"-ClHeight", height);
}

void TVelmorIniFileEx::ReadGeometry(TControl& control) {
    const std::u16string& w = control.Name();
    HWND hwnd = control.Handle();
    auto* form = dynamic_cast<TForm*>(&control);
    if (ValueExists(kStateSection, w + u"-Top")) {
        const int top = ReadInteger(kStateSection, w + u"-Top", 0);
        const int left = ReadInteger(kStateSection, w + u"-Left", 0);
        const int width =
            std::clamp(ReadInteger(kStateSection, w + u"-ClWidth", 0), 0, kMaxClientSize);
        const int height =
            std::clamp(ReadInteger(kStateSection, w + u"-ClHeight", 0), 0, kMaxClientSize);
        SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const int frameW = control.Width() - control.ClientWidth();
        const int frameH = control.Height() - control.ClientHeight();
        SetWindowPos(hwnd, nullptr, 0, 0, width + frameW, height + frameH,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (form) {
        const int top = (GetSystemMetrics(SM_CYSCREEN) - control.Height()) / 2;
        const int left = (GetSystemMetrics(SM_CXSCREEN) - control.Width()) / 2;
        SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (form && ValueExists(kStateSection, w + u"-WindowState")) {
        const int state = ReadInteger(kStateSection, w + u"-WindowState", 0);
        if (state < 0 || state > 2)
            return; // no window state; the window stays as it is
        if (IsWindowVisible(hwnd))
            ShowWindow(hwnd, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
        else
            SetPropW(hwnd, kStateProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(state + 1)));
    }
}

void TVelmorIniFileEx::Write(TComponent& comp) {
    Assert(!comp.Name().empty(), kUnit,
           u"TVelmorIniFileEx-The control has no name! Class: " + comp.ClassName());
    const std::u16string& name = comp.Name();
    if (auto* form = As<TForm>(comp)) {
        WriteGeometry(*form);
        TVelmorIniFile::Write(u"FormFont", ToIniFont(FormFont(*form)));
        return;
    }
    if (auto* act = As<TAction>(comp))
        WriteBool(kStateSection, name, act->Checked());
    else if (auto* chk = As<TCheckBox>(comp))
        WriteInteger(kStateSection, name, chk->State());
    else if (auto* rad = As<TRadioButton>(comp))
        WriteBool(kStateSection, name, rad->Checked());
    else if (auto* path = As<TVelmorPathEdit>(comp))
        WriteString(kStateSection, name, path->Path());
    else if (auto* edt = As<TEdit>(comp))
        WriteString(kStateSection, name, edt->Text());
    else if (auto* spn = As<TSpinEdit>(comp))
        WriteInteger(kStateSection, name, spn->Value());
    else if (auto* pg = As<TPageControl>(comp))
        WriteInteger(kStateSection, name, pg->ActivePageIndex());
    else if (auto* hot = As<THotKey>(comp))
        WriteInteger(kStateSection, name, hot->HotKey());
    else if (IsSplitter(comp)) {
        auto& splitter = static_cast<TControl&>(comp);
        if (splitter.Align() == TAlign::alLeft || splitter.Align() == TAlign::alRight)
            WriteInteger(kStateSection, name, splitter.Left());
        else if (splitter.Align() == TAlign::alTop || splitter.Align() == TAlign::alBottom)
            WriteInteger(kStateSection, name, splitter.Top());
    } else if (auto* mnu = As<TMenuItem>(comp))
        WriteBool(kStateSection, name, mnu->Checked());
    else
        throw Error(UnsupportedText(comp));
}

void TVelmorIniFileEx::Read(TComponent& comp) {
    Assert(!comp.Name().empty(), kUnit,
           u"TVelmorIniFileEx-The control has no name! Class: " + comp.ClassName());
    const std::u16string& name = comp.Name();
    if (auto* form = As<TForm>(comp)) {
        ReadGeometry(*form);
        IniFont font = ToIniFont(FormFont(*form));
        if (TVelmorIniFile::Read(u"FormFont", font))
            ApplyFormFont(*form, font);
        return;
    }
    if (!ValueExists(kStateSection, name))
        return;
    if (auto* act = As<TAction>(comp))
        act->SetChecked(ReadBool(kStateSection, name, false));
    else if (auto* chk = As<TCheckBox>(comp)) {
        const int state = ReadInteger(kStateSection, name, cbUnchecked);
        // A number that names no state reads as the default, unchecked.
        chk->SetState(state >= cbUnchecked && state <= cbGrayed ? static_cast<TCheckBoxState>(state)
                                                                : cbUnchecked);
    } else if (auto* rad = As<TRadioButton>(comp))
        rad->SetChecked(ReadBool(kStateSection, name, false));
    else if (auto* spn = As<TSpinEdit>(comp)) {
        spn->SetValue(ReadInteger(kStateSection, name, 0));
        if (auto* delayed = dynamic_cast<TVelmorSpinEdit*>(spn))
            delayed->StopTimer();
    } else if (auto* edt = As<TEdit>(comp))
        edt->SetText(ReadString(kStateSection, name, u""));
    else if (auto* path = As<TVelmorPathEdit>(comp))
        path->SetPath(ReadString(kStateSection, name, u""));
    else if (auto* pg = As<TPageControl>(comp))
        pg->SetActivePageIndex(ReadInteger(kStateSection, name, 0));
    else if (auto* hot = As<THotKey>(comp)) {
        // A value that is no shortcut code leaves the box as it is.
        const std::int32_t code = ReadInteger(kStateSection, name, 0);
        if (code >= 0 && code <= 0xFFFF)
            hot->SetHotKey(static_cast<TShortCut>(code));
    } else if (IsSplitter(comp)) {
        auto& splitter = static_cast<TControl&>(comp);
        const int value = ReadInteger(kStateSection, name, 0);
        const bool aligned =
            splitter.Align() == TAlign::alLeft || splitter.Align() == TAlign::alRight ||
            splitter.Align() == TAlign::alTop || splitter.Align() == TAlign::alBottom;
        // An aligned splitter would only snap back: its neighbour takes the stored place.
        if (auto* bar = dynamic_cast<TSplitter*>(&splitter); bar && aligned)
            bar->SetPosition(value);
        else if (splitter.Align() == TAlign::alLeft || splitter.Align() == TAlign::alRight)
            splitter.SetBounds(value, splitter.Top(), splitter.Width(), splitter.Height());
        else if (splitter.Align() == TAlign::alTop || splitter.Align() == TAlign::alBottom)
            splitter.SetBounds(splitter.Left(), value, splitter.Width(), splitter.Height());
    } else if (auto* mnu = As<TMenuItem>(comp))
        mnu->SetChecked(ReadBool(kStateSection, name, false));
    else
        throw Error(UnsupportedText(comp));
}

void TVelmorIniFileEx::SaveForm(TForm* form) {
    Assert(form != nullptr, kUnit, u"Assertion failure");
    Write(*form);
    for (size_t i = 0; i < form->ComponentCount(); ++i)
        if (TComponent& c = form->Components(i); IsSupported(c))
            Write(c);
}

void TVelmorIniFileEx::LoadForm(TForm* form) {
    Assert(form != nullptr, kUnit, u"Assertion failure");
    Read(*form);
    // Handlers that run while restoring may add components; walk the list as it stands.
    for (size_t i = 0; i < form->ComponentCount(); ++i)
        if (TComponent& c = form->Components(i); IsSupported(c))
            Read(c);
}

void TVelmorIniFileEx::WriteGroup(TControl& container) {
    for (TControl* c : container.Controls())
        if (IsSupported(*c))
            Write(*c);
}

void TVelmorIniFileEx::ReadGroup(TControl& container) {
    const std::vector<TControl*> children = container.Controls();
    for (TControl* c : children)
        if (IsSupported(*c))
            Read(*c);
}

void SaveFormState(TForm& form, const std::u16string& forcedPath) {
    TVelmorIniFileEx ini(form.Name(), forcedPath);
    try {
        // One file write for the whole window, not one per key.
        ini.BeginUpdate();
        ini.SaveForm(&form);
        ini.EndUpdate();
    } catch (const EIniFileException&) {
        OutputDebugStringW(W(u"Cannot save INI file to disk: " + ini.FileName() + u"\t"));
    }
}

void LoadFormState(TForm& form, const std::u16string& forcedPath) {
    TVelmorIniFileEx ini(form.Name(), forcedPath);
    ini.LoadForm(&form);
}

void FitFormToWorkArea(TForm& form, int width, int height) {
    int top = form.Top(), left = form.Left();
    if (top < 0)
        top = 0;
    if (top > height - 10)
        top = height / 2;
    if (left < 0)
        left = 0;
    if (left > width - 10)
        left = (width - form.Width()) / 2;
    const int h = std::min(form.Height(), height);
    const int w = std::min(form.Width(), width);
    form.SetBounds(left, top, w, h);
}

void FitFormToWorkArea(TForm& form) {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    FitFormToWorkArea(form, area.right - area.left, area.bottom - area.top);
}

void CenterInTabSheet(TControl& control, TTabSheet& sheet) {
    control.SetBounds((sheet.ClientWidth() - control.Width()) / 2,
                      (sheet.ClientHeight() - control.Height()) / 2, control.Width(),
                      control.Height());
}

int FormShowCommand(const TForm& form) {
    switch (reinterpret_cast<INT_PTR>(GetPropW(form.Handle(), kStateProp))) {
    case 2:
        return SW_SHOWMINIMIZED;
    case 3:
        return SW_SHOWMAXIMIZED;
    default:
        return SW_SHOWNORMAL;
    }
}

} // namespace vp::ui
