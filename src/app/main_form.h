#pragma once
// The main window: the pad, clipboard monitoring, the capture pipeline and categories.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/capture.h"
#include "core/file_version.h"
#include "platform/hotkey.h"
#include "platform/unique_handle.h"
#include "ui/controls.h"
#include "ui/memo.h"
#include "ui/page_control.h"
#include "ui/spin_edit.h"
#include "ui/tray_icon.h"

#include <commdlg.h>
#include <shellapi.h>

namespace vp {

namespace ui {
class HintSystem;
class TApplication;
class TImage;
class TInternetLabel;
class TKITScanner;
class TSplitter;
class TVelmorMemo;
class TVelmorPathEdit;
} // namespace ui

class TCategoryButton;
class TClickGroupBox;
class TFrmFindAll;
struct ClipboardText;
struct FindAllRow;

struct MainFormOptions {
    // Where category files live; empty: the Documents folder + AppName + "\".
    std::u16string categoriesFolder;
    // Where the INI file and "Separator.data" live; empty: DataFolder().
    std::u16string dataFolder;
    // The program's hidden application window, when there is one.
    ui::TApplication* application = nullptr;
    // How the program was asked to show its window at start.
    int showCommand = SW_SHOWNORMAL;
    // Post the deferred initialisation to itself (the program); tests call it.
    bool postDeferredInit = true;
    // Join the clipboard viewer chain in the deferred initialisation.
    bool joinViewerChain = true;
    // End the message loop when the window is destroyed.
    bool quitOnDestroy = true;
};

inline constexpr char16_t kBackupFileName[] = u" ClipboardItems backup.temp";
std::u16string WelcomeText();

class TMainForm : public ui::TForm, private CaptureSink {
    // Shared: the fields more than one file writes.
    MonitorHotKey hotKey_;
    bool padModified_ = false;
    // Changed by the user (typed, sorted, cleared...) since the last load or save, as
    // against holding only captured entries that are not saved yet.
    bool padEdited_ = false;
    bool appending_ = false;
    // The captured texts appended since the last load or save, in order.
    std::vector<std::u16string> pendingAppends_;
    // The version of each category file, of the list and of the separator file last loaded
    // or written, by path.
    std::map<std::u16string, FileVersion> knownVersions_;
    // Said after the capture's own status while a capture reloaded the pad.
    std::u16string reloadNote_;
    // The text the program itself just put on the clipboard.
    std::optional<std::u16string> ownCopy_;
    std::unique_ptr<TFrmFindAll> frmFindAll_;

    // main_form.cpp: creation, the message handler, paths, caption.
  public:
    explicit TMainForm(MainFormOptions options = {});
    ~TMainForm() override;

    // Caption: the application name, one blank, then the version label (" v4.5.0").
    void UpdateCaption();
    // Creation: application title, file drops, the deferred start-up, the random seed.
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void mnuExitClick();
    ui::HintSystem& Hints() const { return *hints_; }
    std::u16string DataFolderPath() const;
    std::u16string IniPath() const;
    std::u16string SeparatorPath() const;
    // The settings file path to hand to the persistence calls; "" means their own default.
    std::u16string ForcedIniPath() const;

    ui::TStatusBar* StatBar;
    ui::TPageControl* PageControl;
    ui::TTabSheet *tabMain, *tabCategories, *tabSettings, *tabLicense, *tabUpdater, *tabAbout;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Icons and pictures made again for the new DPI.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

  private:
    // The status bar, the page control and its tabs.
    void CreatePages();
    UniqueHIcon AboutPicture() const;

    MainFormOptions options_;
    std::unique_ptr<ui::HintSystem> hints_;
    // The user is moving or sizing the window: its edges snap to the work area's.
    bool sizeMove_ = false;
    // The caption's and the taskbar's icons, once the DPI has changed.
    UniqueHIcon smallIcon_, bigIcon_;

    // main_form_startup.cpp: deferred initialisation, first-run page, shutdown save.
  public:
    // Start-up work that needs a running message loop.
    void DeferredInit();
    // The once-only save at exit: pad, viewer chain, hotkey, settings, separator. A failing
    // step does not stop the later ones; the failures are reported once, together.
    void SaveBeforeExit();
    // A session end that another program vetoed: everything is written as at exit, but
    // the window goes on collecting as before, and the exit saves again.
    void SaveForVetoedSessionEnd();
    bool IsINISaved() const { return INISaved; }
    void btnAgreeClick();

    ui::TLabel* lblLicense;
    ui::TInternetLabel* inetLicenseAgreement;
    ui::TButton* btnAgree;

  private:
    void CreateLicensePage();
    // The steps of the save at exit; ending: also stop collecting (toggle, chain, hotkey).
    void SaveEverything(bool ending);
    void ShowFirstRunPage();
    void HideLicensePage();
    int StartShowCommand() const;
    // Makes the updates panel in its tab and starts the automatic news check.
    void CreateUpdatesPanel();
    // Frees the updates panel shown in this window's tab.
    void ReleaseUpdater();

    bool INISaved = false;
    // The separator changed by the user since load or save.
    bool separatorEdited_ = false;
    // While start-up applies the categories, their problems wait for the window.
    bool holdCategoryReport_ = false;

    // main_form_capture.cpp: the capture pipeline's sink, the pad view.
  public:
    void ColectClipboardData(const std::u16string& newEntry);
    void DisableLineDuplicates();
    int32_t CollectedCount() const { return collectedCount_; }

  private:
    // CaptureSink
    void OpenVendorPage() override;
    void BeepAlarm() override;
    void AppendToPad(std::u16string_view text) override;
    void ClearClipboard() override;
    void SetStatus(const std::u16string& text) override;
    void SavePad() override;

    int32_t collectedCount_ = 0;
    class PadView;
    // The pad's text, read in place during a capture.
    PadView* padView_ = nullptr;

    // main_form_monitor.cpp: viewer chain, monitoring toggle, hotkey, backup.
  public:
    bool Monitoring() const;
    void StartMonitoring();
    void StopMonitoring();
    void actToggleMonitorExecute();
    void chkAutoMonitorClick();
    void RegisterMonitorHotKey();
    void UnregisterMonitorHotKey();
    void hotMonitorChange();
    void mnuClearClipboardClick();
    ATOM HotMonitorID() const { return hotKey_.Id(); }
    HWND NextViewer() const { return nextViewer_; }
    void JoinViewerChain();
    void LeaveViewerChain();

  private:
    void OnDrawClipboard();
    // This program's part of a clipboard change: fetch, capture or beep, backup.
    void HandleClipboardChange();
    // Reads the clipboard; a change reported meanwhile is held for afterwards.
    ClipboardText FetchClipboardHoldingChanges();
    void OnChangeCbChain(HWND leaving, HWND next);
    void AppendBackup(const std::u16string& text);

    HWND nextViewer_ = nullptr;
    bool inChain_ = false;
    // A read of the clipboard is running, and a change was reported while it ran.
    bool fetching_ = false;
    bool changedWhileFetching_ = false;

    // main_form_categories.cpp: categories tab, Apply, Save, Save as, the pad's file.
  public:
    std::u16string CategoriesFolder() const;
    std::u16string CategoriesListPath() const;
    void btnApplyCategClick();
    void OnSelectCategory(TCategoryButton& button);
    void SelectCategory(TCategoryButton& button);
    TCategoryButton* GetPressedButton() const;
    std::u16string CurrentCategoryFile() const;
    void actSaveExecute();
    void actSaveAsExecute();
    void grpAutoClick();
    void mmoCategoriesChange();
    // Whether the pad changed since it was last loaded or saved.
    bool PadModified() const { return padModified_; }

    ui::TLabel* lblCategories;
    ui::TVelmorMemo* mmoCategories;
    ui::TButton* btnApplyCateg;

  private:
    void CreateCategoriesTab();
    void LayoutCategoryButtons();
    // Writes the pad to the selected category when it holds unsaved edits. When that fails
    // the text goes to a recovery file, or the user decides; false: keep the pad as it is.
    bool SavePadIfModified();
    // Writes the pad to a new recovery file beside the categories (or in the data folder);
    // its path, or "" when neither place takes it.
    std::u16string RecoverPad();
    // Shows the names that got no file at once, or keeps the text for start-up to show.
    void ReportCategoryProblems(const std::u16string& text);
    // What a look at the selected category's file on disk found and did.
    struct DiskSync {
        bool reloaded = false;
        std::u16string recovery; // where the pad's own edits went, when they had to
    };
    // Before the pad's file is written, and whenever the pad may show a stale file: a
    // version on disk that the program has not seen is loaded into the pad, the pad's own
    // unsaved edits going to a recovery file first. Raises when the file cannot be read
    // or the edits have nowhere to go; then neither side has been touched.
    DiskSync SyncPadWithFile(const std::u16string& path);
    // The same for a version of the file already read.
    DiskSync LoadOutsideVersion(const std::u16string& path, const std::u16string& text,
                                const FileVersion& read);
    // Replaces the pad's text, keeping the caret and the scroll position where they fit.
    void LoadPadKeepingView(const std::u16string& text);
    void ShowRecoveryNotice(const std::u16string& path, const std::u16string& recovery);
    // The pad now matches its file (or its text went to a recovery file).
    void MarkPadSaved();
    // Whether the file holds a version that the program has not seen (never for a missing
    // file, which is written anew); a look that finds the same bytes remembers the stamp.
    bool ChangedOnDisk(const std::u16string& path);
    // Writes text to a new "Recovered - <what> - <date time>.txt" beside the categories (or
    // in the data folder); its path, or "" when neither place takes it.
    std::u16string WriteRecoveryFile(const std::u16string& what, std::u16string_view text);
    // Shows what another program wrote to the selected category's file, when the pad holds
    // nothing unsaved to lose; quiet on failure, since the next save looks again and reports.
    void ShowFileAsOnDisk();

    // The categories editor changed by the user since load or save.
    bool categoriesEdited_ = false;
    // Category files created by this run.
    std::set<std::u16string> madeThisRun_;
    std::u16string heldCategoryReport_;

    // main_form_window.cpp: main tab, menus, actions, drops, the about page, window moves.
  public:
    void mnuCopyClick();
    void actClearTextExecute();
    void actSortLinesExecute();

    ui::TPanel *pnlLeft, *pnlButtons;
    ui::TSplitter* SplitterLeft;
    ui::TKITScanner* Scanner;
    ui::TButton *btnMonitor, *ButtonCLEAR, *btnSave, *btnSaveAs, *btnSort;
    TClickGroupBox* grpAuto;
    ui::TGroupBox* grpPad;
    ui::TVelmorMemo* mmoClipboard;
    ui::TLabel* lblAbout;
    ui::TImage* imgAbout;
    ui::TLabel* lblVersion;
    ui::TInternetLabel *inetHome, *InternetLabel;
    ui::TMainMenu* MainMenu;
    ui::TPopupMenu* pmTray;
    ui::TAction *actToggleMonitor, *actSaveAs, *actSave, *actClearText, *actSortLines;

  private:
    void CreateMainTab();
    void CreateAboutPage();
    void CreateMenus();
    void CreateActions();
    void DropFiles(HDROP drop);
    void MenuSelect(UINT item, UINT flags, HMENU menu);
    void SnapToWorkArea(WINDOWPOS& pos) const;

    // main_form_settings.cpp: Settings tab, hints, opacity.
  public:
    void btnDesktopShortcutClick();
    void chkAutoStartUpClick();
    void ApplicationEventsHint();
    void spnHideHintChange();
    void spnOpacityChange();
    // Alpha blending on below 255, off at 255.
    void SetOpacity(int opacity);

    ui::TGroupBox* GroupHelp;
    ui::TRadioButton *radHintsOff, *radHintsTooltips, *radHintsStatBar;
    ui::TLabel* lblHintHide;
    ui::TSpinEdit* spnHideHint;
    ui::TGroupBox* grpSystem;
    ui::TButton* btnDesktopShortcut;
    ui::TCheckBox *chkAutoStartUp, *chkTrayIcon;
    ui::TLabel* lblOpacity;
    ui::TSpinEdit* spnOpacity;
    ui::TGroupBox* grpClpbrd;
    ui::TCheckBox *chkClearClpbrd, *chkClearOnStart, *chkAutoMonitor, *chkMonitorWarn, *chkTrim,
        *chkDate;
    ui::TLabel* lblCloseHotKey;
    ui::THotKey* hotMonitor;
    ui::TGroupBox* grpInterface;
    ui::TCheckBox* chkBackup;
    ui::TVelmorPathEdit* PathBackup;
    ui::TGroupBox* grpDuplicate;
    ui::TLabel* lblDuplicate;
    ui::TCheckBox *chkNoDuplicate, *chkDuplicateBip, *chkWeakDupe;
    ui::TGroupBox* grpSeparator;
    ui::TMemo* mmoSeparator;

  private:
    void CreateSettingsTab();

    // The values the spin boxes last acted on: they act only on a change.
    int shownHideHint_ = 4000, shownOpacity_ = 199;

    // main_form_tray.cpp: the tray icon.
  public:
    // Brings the window back from the tray or the taskbar, to the front.
    void BringToFront();
    // The window went to the taskbar or, with "Minimize to tray", into the tray.
    void ApplicationEventsMinimize();

    ui::TCoolTrayIcon* TrayIcon;

  private:
    // The tray animation's images at the small icon size of the DPI in use.
    void LoadTrayImages();
    void CreateTrayIcon();

    // The tray animation's images.
    ui::TIconList imgTrayIcons;

    // main_form_find.cpp: the Find dialog, F3, find in all categories.
  public:
    // Opens the Find dialog, or brings it to the front; it starts with the last search text.
    void actFindExecute();
    // Selects the next match of the last search text in the pad (the previous one when
    // backward), wrapping once at the end; false when there is none, after a beep. Without
    // a search text yet, it opens the Find dialog instead.
    bool FindInPad(bool backward);
    HWND FindDialog() const { return findDialog_; }
    const std::u16string& SearchText() const { return searchText_; }
    bool FindMatchCase() const { return findMatchCase_; }
    bool FindWholeWord() const { return findWholeWord_; }
    void SetSearch(const std::u16string& text, bool matchCase, bool wholeWord);
    // Shows the "Find in all categories" window; with a search text it lists at once.
    void actFindAllExecute();
    // Lists the matches of the window's text: the pad's own text for the selected category
    // (unsaved edits included), each other category's file as the program reads it.
    void FindAllCategories();
    // Selects a listed match's category, as its button would, then the match in the pad.
    void GoToFoundMatch(const FindAllRow& row);
    TFrmFindAll* FindAllWindow() const { return frmFindAll_.get(); }

    // Made last and kept out of the settings file, whose keys stay as they were.
    ui::TAction *actFind, *actFindNext, *actFindPrevious, *actFindAll;

  private:
    void CreateFindCommands();
    // The Find dialog pressed a button or closed.
    void OnFindMessage(const FINDREPLACEW& fr);
    // Moves the Find dialog off the pad's selection when it covers it.
    void KeepFindDialogOffSelection();
    void LoadFindSettings();
    void SaveFindSettings();

    // The dialog keeps pointers to findReplace_ and findWhat_ while it is open.
    UINT findMessage_ = 0;
    HWND findDialog_ = nullptr;
    FINDREPLACEW findReplace_{};
    std::array<wchar_t, 1024> findWhat_{};
    std::u16string searchText_;
    bool findMatchCase_ = false, findWholeWord_ = false;
};

} // namespace vp
