#include "ui/velmor_path_edit.h"

#include <algorithm>

#include <shellapi.h>
#include <shobjidl.h>

#include "core/paths.h"
#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"

namespace vp::ui {

namespace {

constexpr size_t kMaxPathLength = 248;

// The two browse-button pictures: the program's own icons when it carries them, else the
// shell's folder icons. Kept for the life of the process.
struct FolderIcons {
    UniqueHIcon closed{Load(L"xFOLDER", SIID_FOLDER)};
    UniqueHIcon open{Load(L"xFOLDER_OPEN", SIID_FOLDEROPEN)};
    static HICON Load(const wchar_t* name, SHSTOCKICONID stock) {
        if (auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON,
                                                      Scale(16), Scale(16), LR_DEFAULTCOLOR)))
            return icon;
        SHSTOCKICONINFO info{};
        info.cbSize = sizeof(info);
        if (SUCCEEDED(SHGetStockIconInfo(stock, SHGSI_ICON | SHGSI_SMALLICON, &info)))
            return info.hIcon;
        return nullptr;
    }
};

const FolderIcons& Icons() {
    static FolderIcons icons;
    return icons;
}

// The drive root of a full path ("C:\", "\\server\share\"); "" when there is none.
std::u16string RootOf(const std::u16string& full) {
    const size_t prefix = LongPathPrefixLength(full);
    if (full.size() >= prefix + 2 && full[prefix + 1] == u':')
        return full.substr(prefix, 2) + u"\\";
    const bool uncPrefix = prefix == 8; // "\\?\UNC\"
    const bool unc = uncPrefix || (prefix == 0 && full.rfind(u"\\\\", 0) == 0);
    if (!unc)
        return {};
    const size_t server = uncPrefix ? prefix : 2;
    const size_t share = full.find(u'\\', server);
    if (share == std::u16string::npos)
        return {};
    const size_t end = full.find(u'\\', share + 1);
    return u"\\\\" +
           full.substr(server, (end == std::u16string::npos ? full.size() : end) - server) + u"\\";
}

std::u16string FullPathOf(const std::u16string& path) {
    const DWORD n = GetFullPathNameW(W(path), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::u16string out(n, u'\0');
    const DWORD got = GetFullPathNameW(W(path), n, reinterpret_cast<wchar_t*>(out.data()), nullptr);
    out.resize(got < n ? got : 0);
    return out;
}

} // namespace

// The edit box: its own colours, Enter, and a click that recolours.
class TVelmorPathEdit::PathBox : public TEdit {
  public:
    PathBox(const Placement& place, TVelmorPathEdit& owner) : TEdit(place, {}), owner_(owner) {}

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_GETDLGCODE:
            // Enter belongs to the box, not to the dialog's default button.
            if (wParam == VK_RETURN)
                return DLGC_WANTALLKEYS;
            break;
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                owner_.EnterPressed();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN: {
            const LRESULT result = TEdit::HandleMessage(msg, wParam, lParam);
            owner_.CheckPathValidity();
            return result;
        }
        }
        return TEdit::HandleMessage(msg, wParam, lParam);
    }
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if ((msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) && Color() != clDefault &&
            IsWindowEnabled(Handle())) {
            SetBkColor(reinterpret_cast<HDC>(wParam), Color());
            result = reinterpret_cast<LRESULT>(SolidBrush(Color()));
            return true;
        }
        return TEdit::HandleNotification(msg, wParam, lParam, result);
    }

  private:
    TVelmorPathEdit& owner_;
};

// The browse button shows the open folder while the mouse is over it.
class TVelmorPathEdit::BrowseBtn : public TButton {
  public:
    BrowseBtn(const Placement& place, const CreateArgs& args) : TButton(place, args) {
        if (Icons().closed) {
            SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) | BS_ICON);
            ShowImage(Icons().closed.Get());
        } else {
            SetCaption(u"...");
        }
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_MOUSEMOVE && !hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&track);
            ShowImage(Icons().open.Get());
        } else if (msg == WM_MOUSELEAVE) {
            hot_ = false;
            ShowImage(Icons().closed.Get());
        }
        return TButton::HandleMessage(msg, wParam, lParam);
    }

  private:
    void ShowImage(HICON icon) {
        if (icon)
            SendMessageW(Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    bool hot_ = false;
};

TVelmorPathEdit::TVelmorPathEdit(const Placement& place, const CreateArgs& a)
    : TGroupBox(place, {.caption = u"File/Folder", .align = a.align, .hint = a.hint}),
      OnPressEnter(a.onPressEnter), OnPathChanged(a.onPathChanged), OnApply(a.onApply),
      OnClick(a.onClick), FFileFilter(a.fileFilter), FOpenDlgTitle(a.openDlgTitle) {
    // The parts belong to this box, not to the form: the form never lists or stores them.
    auto part = [this](Bounds b) { return Placement{nullptr, this, u"", b}; };
    edtPath = std::make_unique<PathBox>(part({}), *this);
    btnBrowse =
        std::make_unique<BrowseBtn>(part({}), TButton::CreateArgs{.onClick = [this] { Browse(); }});
    btnExplore = std::make_unique<TButton>(
        part({}), TButton::CreateArgs{.caption = u"^",
                                      .hint = u"Locate this file/folder in Windows Explorer",
                                      .onClick = [this] { Explore(); }});
    btnCreate =
        std::make_unique<TButton>(part({}), TButton::CreateArgs{.caption = u"Create",
                                                                .hint = u"Create folder",
                                                                .onClick = [this] { Apply(); }});
    // Tab order: the box, the explore button, Create; the browse button is part of the box.
    SetWindowLongW(btnBrowse->Handle(), GWL_STYLE,
                   GetWindowLongW(btnBrowse->Handle(), GWL_STYLE) & ~WS_TABSTOP);

    // The stored mode sets the browse hint; the window's own set-up then gives the general
    // caption and explore hint, and leaves the box uncoloured until the first change.
    FInputType = a.inputType;
    btnBrowse->SetHint(FInputType == TInputType::itFolder ? u"Browse for a folder"
                                                          : u"Browse for a file");
    SetShowCreateBtn(a.showCreateBtn);
    SetShowOpenSrc(a.showOpenSrc);
    if (place.bounds.height == 0 || a.align == TAlign::alTop || a.align == TAlign::alBottom)
        SetBounds(Left(), Top(), Width(), Scale(41));
    if (!a.path.empty()) {
        edtPath->SetText(FInputType == TInputType::itFolder ? WithTrailingDelimiter(a.path)
                                                            : a.path);
    }
    edtPath->OnChange = [this] { PathChanged(); };
    Layout();
}

TVelmorPathEdit::~TVelmorPathEdit() {
    edtPath->OnChange = nullptr;
}

TEdit& TVelmorPathEdit::EditBox() const {
    return *edtPath;
}

TButton& TVelmorPathEdit::BrowseButton() const {
    return *btnBrowse;
}

LRESULT TVelmorPathEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = TGroupBox::HandleMessage(msg, wParam, lParam);
        Layout();
        return result;
    }
    case WM_NCHITTEST:
        // A group box lets clicks fall through to its parent; this one takes them.
        return HTCLIENT;
    case WM_LBUTTONUP:
        Click();
        return 0;
    }
    return TGroupBox::HandleMessage(msg, wParam, lParam);
}

void TVelmorPathEdit::Layout() {
    if (!edtPath)
        return;
    RECT r{};
    GetClientRect(Handle(), &r);
    // Inside the frame, below the caption line.
    const int top = Scale(14) + Scale(2), bottom = r.bottom - Scale(4) - Scale(1);
    int right = r.right - Scale(4);
    const int height = std::max(0, bottom - top);
    auto place = [&](TControl& c, int width) {
        right -= Scale(1);
        c.SetBounds(right - width, top, width, height);
        right -= width + Scale(1);
    };
    if (FOpenSrc)
        place(*btnExplore, Scale(22));
    if (FShowCreate)
        place(*btnCreate, Scale(42));
    place(*btnBrowse, height);
    const int left = Scale(4) + Scale(1);
    edtPath->SetBounds(left, top, std::max(0, right - left), height);
}

std::u16string TVelmorPathEdit::Path() const {
    const std::u16string text = edtPath->Text();
    if (FInputType == TInputType::itFile)
        return text;
    const std::u16string trimmed(TrimControls(text));
    return trimmed.empty() ? trimmed : WithTrailingDelimiter(trimmed);
}

void TVelmorPathEdit::SetPath(const std::u16string& path) {
    edtPath->SetText(
        FInputType == TInputType::itFolder && !path.empty() ? WithTrailingDelimiter(path) : path);
}

void TVelmorPathEdit::SetInputType(TInputType type) {
    FInputType = type;
    CheckPathValidity();
    const bool folder = type == TInputType::itFolder;
    btnBrowse->SetHint(folder ? u"Browse for a folder" : u"Browse for a file");
    btnExplore->SetHint(folder ? u"Locate this folder in Windows Explorer"
                               : u"Locate this file in Windows Explorer");
    SetCaption(folder ? u"Folder" : u"File");
}

void TVelmorPathEdit::SetShowCreateBtn(bool show) {
    FShowCreate = show;
    btnCreate->SetVisible(show);
    Layout();
}

void TVelmorPathEdit::SetShowOpenSrc(bool show) {
    FOpenSrc = show;
    btnExplore->SetVisible(show);
    Layout();
}

bool TVelmorPathEdit::IsReadOnly() const {
    return (GetWindowLongW(edtPath->Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

void TVelmorPathEdit::SetIsReadOnly(bool readOnly) {
    edtPath->SetReadOnly(readOnly);
}

void TVelmorPathEdit::SetEnabled(bool enabled) {
    // The box's own window stays enabled: a disabled parent would lock the explore button.
    FEnabled = enabled;
    edtPath->SetEnabled(enabled);
    btnBrowse->SetEnabled(enabled);
    btnCreate->SetEnabled(enabled);
    Invalidate();
}

void TVelmorPathEdit::CheckPathValidity() {
    const std::u16string path = Path();
    const bool exists = FInputType == TInputType::itFile ? FileExists(path) : FolderExists(path);
    edtPath->SetColor(exists ? kPathExistsColor : kPathMissingColor);
}

std::u16string TVelmorPathEdit::PathHasValidChars() const {
    const std::u16string text = edtPath->Text();
    if (text.empty())
        return u"The path is empty!";
    if (WithTrailingDelimiter(text).size() > kMaxPathLength)
        return u"Path is too long: \r\n" + text;
    if (FInputType == TInputType::itFolder && !PathColonsValid(text))
        return u"The path has invalid characters!";
    if (FInputType == TInputType::itFile) {
        const size_t sep = text.find_last_of(u"\\:");
        const std::u16string_view name =
            std::u16string_view(text).substr(sep == std::u16string::npos ? 0 : sep + 1);
        if (HasInvalidFileNameChars(name))
            return u"The path has invalid characters!";
        return {};
    }
    if (!PathCharsValid(text))
        return u"Invalid characters in path!";
    if (!DriveIsReady(RootOf(FullPathOf(text))))
        return u"Lock on folder failed. Disk not in drive!";
    return {};
}

std::u16string TVelmorPathEdit::PathIsValids() const {
    std::u16string message = PathHasValidChars();
    if (message.empty() && FInputType == TInputType::itFolder) {
        const std::u16string text = edtPath->Text();
        if (!FolderExists(text))
            message = u"Folder does not exist: " + text;
    }
    return message;
}

bool TVelmorPathEdit::PathIsValidsMsg() const {
    const std::u16string message = PathIsValids();
    if (!message.empty())
        ShowError(message);
    return message.empty();
}

void TVelmorPathEdit::PathChanged() {
    CheckPathValidity();
    Raise(OnPathChanged);
}

void TVelmorPathEdit::Apply() {
    const std::u16string message = PathHasValidChars();
    if (!message.empty()) {
        ShowError(message);
        return;
    }
    if (FInputType == TInputType::itFolder)
        EnsureFolderMsg(Path()); // reports its own failure; the change is still raised
    PathChanged();
    Raise(OnApply);
}

void TVelmorPathEdit::EnterPressed() {
    Apply();
    Raise(OnPressEnter);
}

void TVelmorPathEdit::Browse() {
    if (FInputType == TInputType::itFile) {
        const std::u16string chosen = PromptOpenFile(
            Path(), FFileFilter.empty() ? u"All files (*.*)|*.*" : FFileFilter, u"", FOpenDlgTitle);
        if (!chosen.empty())
            SetPath(chosen);
        return;
    }
    std::u16string folder = Path();
    if (BrowseForFolder(folder, FOpenDlgTitle,
                        FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST |
                            FOS_DEFAULTNOMINIMODE))
        SetPath(WithTrailingDelimiter(folder));
}

void TVelmorPathEdit::Explore() {
    const std::u16string path = Path();
    if (path.empty()) {
        ShowError(u"No file/folder selected!");
        return;
    }
    if (FInputType == TInputType::itFile)
        ShowInExplorer(path);
    else
        ExploreFolder(path);
}

void TVelmorPathEdit::Click() {
    Raise(OnClick);
    CheckPathValidity();
}

} // namespace vp::ui
