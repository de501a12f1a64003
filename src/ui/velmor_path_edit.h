#pragma once
// A captioned box for one file or folder path: an edit box with a browse button at its
// right end, a Create button and a button that shows the path in the Explorer. The box
// turns light green when the path exists and light red when it does not; Create (and
// Enter in the box) checks the path, makes the folder in folder mode, and says in words
// what is wrong with a path.
#include <functional>
#include <memory>
#include <string>

#include "ui/controls.h"

namespace vp::ui {

enum class TInputType { itFile, itFolder };

constexpr COLORREF kPathExistsColor = 0xCCFFCC;  // light green
constexpr COLORREF kPathMissingColor = 0xD0D0FF; // light red

class TVelmorPathEdit : public TGroupBox {
  public:
    struct CreateArgs {
        TInputType inputType = TInputType::itFolder;
        std::u16string path;
        std::u16string fileFilter;   // for the file chooser; empty offers all files
        std::u16string openDlgTitle; // for both choosers
        bool showCreateBtn = true;
        bool showOpenSrc = true;
        TAlign align = TAlign::alNone;
        std::u16string hint;
        std::function<void()> onPathChanged, onApply, onPressEnter, onClick;
    };
    TVelmorPathEdit(const Placement& place, const CreateArgs& args);
    ~TVelmorPathEdit() override;
    std::u16string ClassName() const override { return u"TVelmorPathEdit"; }

    // File mode: the text as it is. Folder mode: trimmed of characters up to U+0020, with a
    // trailing "\" unless empty.
    std::u16string Path() const;
    // Folder mode adds a trailing "\" to a non-empty value. Runs the path-changed processing.
    void SetPath(const std::u16string& path);

    TInputType InputType() const { return FInputType; }
    void SetInputType(TInputType type);
    bool ShowCreateBtn() const { return FShowCreate; }
    void SetShowCreateBtn(bool show);
    bool ShowOpenSrc() const { return FOpenSrc; }
    void SetShowOpenSrc(bool show);
    bool IsReadOnly() const;
    void SetIsReadOnly(bool readOnly);
    const std::u16string& FileFilter() const { return FFileFilter; }
    void SetFileFilter(std::u16string filter) { FFileFilter = std::move(filter); }
    const std::u16string& OpenDlgTitle() const { return FOpenDlgTitle; }
    void SetOpenDlgTitle(std::u16string title) { FOpenDlgTitle = std::move(title); }
    // The box, its edit and its Create button; the explore button stays usable.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    // Recolours the edit box by whether the path exists.
    void CheckPathValidity();
    // "" when the text passes the checks, else the message of the first failed check.
    std::u16string PathHasValidChars() const;
    // As PathHasValidChars; in folder mode a missing folder fails as well.
    std::u16string PathIsValids() const;
    // PathIsValids, with its message shown in an error box. True when there was none.
    bool PathIsValidsMsg() const;

    // Create button and Enter: check, make the folder (folder mode), report the change.
    void Apply();
    void Browse();
    void Explore();
    // A click on the box itself.
    void Click();

    TEdit& EditBox() const;
    TButton& BrowseButton() const;
    TButton& CreateButton() const { return *btnCreate; }
    TButton& ExploreButton() const { return *btnExplore; }

    std::function<void()> OnPressEnter, OnPathChanged, OnApply, OnClick;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    class PathBox;
    class BrowseBtn;
    void Layout();
    void PathChanged();
    void EnterPressed();
    std::unique_ptr<PathBox> edtPath;
    std::unique_ptr<BrowseBtn> btnBrowse;
    std::unique_ptr<TButton> btnExplore, btnCreate;
    TInputType FInputType = TInputType::itFolder;
    std::u16string FFileFilter, FOpenDlgTitle;
    bool FShowCreate = true, FOpenSrc = true, FEnabled = true;
};

} // namespace vp::ui
