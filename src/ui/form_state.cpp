#include "ui/form_state.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

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

// ---- the kinds of component whose value is kept

using Key = std::u16string;

// What a component is, and how its value goes to the file and comes back from it.
struct StateKind {
    std::function<bool(const TComponent&)> is;
    std::function<void(TVelmorIniFileEx&, TComponent&, const Key&)> write, read;
};

template <class T, class Is, class Write, class Read>
StateKind KindWhere(Is is, Write write, Read read) {
    return {is,
            [write](TVelmorIniFileEx& ini, TComponent& c, const Key& key) {
                write(ini, dynamic_cast<T&>(c), key);
            },
            [read](TVelmorIniFileEx& ini, TComponent& c, const Key& key) {
                read(ini, dynamic_cast<T&>(c), key);
            }};
}

template <class T, class Write, class Read> StateKind Kind(Write write, Read read) {
    return KindWhere<T>([](const TComponent& c) { return dynamic_cast<const T*>(&c) != nullptr; },
                        write, read);
}

bool AlongX(const TControl& c) {
    return c.Align() == TAlign::alLeft || c.Align() == TAlign::alRight;
}

bool AlongY(const TControl& c) {
    return c.Align() == TAlign::alTop || c.Align() == TAlign::alBottom;
}

// Every supported kind once; no component is of two of them.
const std::vector<StateKind>& StateKinds() {
    using Ini = TVelmorIniFileEx;
    static const std::vector<StateKind> kinds = {
        Kind<TAction>([](Ini& ini, TAction& act,
                         const Key& key) { ini.WriteBool(kStateSection, key, act.Checked()); },
                      [](Ini& ini, TAction& act, const Key& key) {
                          act.SetChecked(ini.ReadBool(kStateSection, key, false));
                      }),
        Kind<TCheckBox>([](Ini& ini, TCheckBox& chk,
                           const Key& key) { ini.WriteInteger(kStateSection, key, chk.State()); },
                        [](Ini& ini, TCheckBox& chk, const Key& key) {
                            const int state = ini.ReadInteger(kStateSection, key, cbUnchecked);
                            // A number that names no state reads as the default, unchecked.
                            chk.SetState(state >= cbUnchecked && state <= cbGrayed
                                             ? static_cast<TCheckBoxState>(state)
                                             : cbUnchecked);
                        }),
        Kind<TRadioButton>([](Ini& ini, TRadioButton& rad,
                              const Key& key) { ini.WriteBool(kStateSection, key, rad.Checked()); },
                           [](Ini& ini, TRadioButton& rad, const Key& key) {
                               rad.SetChecked(ini.ReadBool(kStateSection, key, false));
                           }),
        Kind<TVelmorPathEdit>(
            [](Ini& ini, TVelmorPathEdit& path, const Key& key) {
                ini.WriteString(kStateSection, key, path.Path());
            },
            [](Ini& ini, TVelmorPathEdit& path, const Key& key) {
                path.SetPath(ini.ReadString(kStateSection, key, u""));
            }),
        Kind<TEdit>([](Ini& ini, TEdit& edt,
                       const Key& key) { ini.WriteString(kStateSection, key, edt.Text()); },
                    [](Ini& ini, TEdit& edt, const Key& key) {
                        edt.SetText(ini.ReadString(kStateSection, key, u""));
                    }),
        Kind<TSpinEdit>([](Ini& ini, TSpinEdit& spn,
                           const Key& key) { ini.WriteInteger(kStateSection, key, spn.Value()); },
                        [](Ini& ini, TSpinEdit& spn, const Key& key) {
                            spn.SetValue(ini.ReadInteger(kStateSection, key, 0));
                            if (auto* delayed = dynamic_cast<TVelmorSpinEdit*>(&spn))
                                delayed->StopTimer();
                        }),
        Kind<TPageControl>(
            [](Ini& ini, TPageControl& pg, const Key& key) {
                ini.WriteInteger(kStateSection, key, pg.ActivePageIndex());
            },
            [](Ini& ini, TPageControl& pg, const Key& key) {
                pg.SetActivePageIndex(ini.ReadInteger(kStateSection, key, 0));
            }),
        Kind<THotKey>([](Ini& ini, THotKey& hot,
                         const Key& key) { ini.WriteInteger(kStateSection, key, hot.HotKey()); },
                      [](Ini& ini, THotKey& hot, const Key& key) {
                          // A value that is no shortcut code leaves the box as it is.
                          const std::int32_t code = ini.ReadInteger(kStateSection, key, 0);
                          if (code >= 0 && code <= 0xFFFF)
                              hot.SetHotKey(static_cast<TShortCut>(code));
                      }),
        KindWhere<TControl>(
            IsSplitter,
            [](Ini& ini, TControl& splitter, const Key& key) {
                if (AlongX(splitter))
                    ini.WriteInteger(kStateSection, key, splitter.Left());
                else if (AlongY(splitter))
                    ini.WriteInteger(kStateSection, key, splitter.Top());
            },
            [](Ini& ini, TControl& splitter, const Key& key) {
                const int value = ini.ReadInteger(kStateSection, key, 0);
                // An aligned splitter would only snap back: its neighbour takes the stored
                // place.
                if (auto* bar = dynamic_cast<TSplitter*>(&splitter);
                    bar && (AlongX(splitter) || AlongY(splitter)))
                    bar->SetPosition(value);
                else if (AlongX(splitter))
                    splitter.SetBounds(value, splitter.Top(), splitter.Width(), splitter.Height());
                else if (AlongY(splitter))
                    splitter.SetBounds(splitter.Left(), value, splitter.Width(), splitter.Height());
            }),
        Kind<TMenuItem>([](Ini& ini, TMenuItem& mnu,
                           const Key& key) { ini.WriteBool(kStateSection, key, mnu.Checked()); },
                        [](Ini& ini, TMenuItem& mnu, const Key& key) {
                            mnu.SetChecked(ini.ReadBool(kStateSection, key, false));
                        }),
    };
    return kinds;
}

const StateKind* KindOf(const TComponent& c) {
    for (const StateKind& kind : StateKinds())
        if (kind.is(c))
            return &kind;
    return nullptr;
}

} // namespace

TVelmorIniFileEx::TVelmorIniFileEx(const std::u16string& SectionName,
                                   const std::u16string& ForcedPath)
    : TVelmorIniFile(SectionName, ForcedPath) {
    ShowPositionWarn = true;
}

bool TVelmorIniFileEx::IsSupported(const TComponent& c) const {
    return c.Stored() && KindOf(c) != nullptr;
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
    const StateKind* kind = KindOf(comp);
    if (!kind)
        throw Error(UnsupportedText(comp));
    kind->write(*this, comp, name);
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
    const StateKind* kind = KindOf(comp);
    if (!kind)
        throw Error(UnsupportedText(comp));
    kind->read(*this, comp, name);
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
