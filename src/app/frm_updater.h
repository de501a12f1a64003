#pragma once
// The updates panel: the user interface of the news announcer. It is a form of its own
// whose window is never shown; its page control lives in the main window's "Updates and
// news" tab. It shows the latest news, a status line and the running and announced
// versions, runs one automatic check a while after start-up and lets the user check now.
// A check downloads on a thread of its own, so the window keeps answering meanwhile.
//
//     CreateUpdater(vendor::kNewsFile, tabUpdater);
//     FrmUpdater->GetNewsAuto(600);
//     ...
//     FreeUpdater(); // saves its settings
#include <functional>
#include <memory>
#include <string>

#include "app/announcer.h"
#include "ui/actions.h"
#include "ui/controls.h"
#include "ui/page_control.h"
#include "ui/rich_log.h"
#include "ui/velmor_spin_edit.h"

namespace vp {

struct UpdaterOptions {
    // Where the local news copy lives; empty: DataFolder().
    std::u16string dataFolder;
    // The settings file; empty: the default one.
    std::u16string iniPath;
};

// A label that is either opaque, on its own colour, or transparent, showing its parent's
// colour while keeping its own.
class TStateLabel : public ui::TLabel {
  public:
    using ui::TLabel::TLabel;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    bool transparent_ = true;
};

class TFrmUpdater : public ui::TForm {
  public:
    explicit TFrmUpdater(const UpdaterOptions& options = {});
    ~TFrmUpdater() override;

    // Arms the automatic check to run once, DelaySec seconds from now.
    void GetNewsAuto(int DelaySec);
    // Saves the controls' states and LastUpdate now, as FormDestroy does.
    void SaveState();

    void FormCreate();
    void FormDestroy();
    void TimerTimer();
    void btnCheckManuallyClick();
    void btnTestInternetClick();
    void chkShowConnectFailClick();
    void chkForceNewsFoundClick();
    void spnIntervalChange();
    void UpdateStart();
    // Whether a check is downloading now.
    bool CheckRunning() const { return check_ != nullptr; }

    // Raised after news has been shown.
    std::function<void()> OnHasNews;
    // The page the connection test fetches; empty: the well-known public one.
    std::u16string TestPage;

    std::unique_ptr<TAnnouncer> Announcer;

    // Controls, in creation order: the settings file keeps the supported ones in this order.
    ui::TPageControl* pgControl;
    ui::TTabSheet* tabNews;
    ui::TRichLog* Log;
    ui::TPanel *pnlNewsBottom, *pnlNewsButton, *pnlNewsStatus;
    ui::TButton* btnCheckManually;
    TStateLabel *lblStatus, *lblVersion;
    ui::TTabSheet* tabSettings;
    ui::TGroupBox* grpSettings;
    ui::TCheckBox* chkShowConnectFail;
    ui::TButton* btnTestInternet;
    ui::TCheckBox* chkForceNewsFound;
    ui::TGroupBox* grpInterval;
    ui::TRadioButton* radEveryDay;
    ui::TVelmorSpinEdit* spnInterval;
    ui::TRadioButton* radEveryTime;
    ui::TTimer* Timer;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    struct CheckJob;
    void CreateControls();
    void RunCheck(bool scheduled);
    void CheckEnded(bool result);
    void DownloadEnded();
    void AbandonCheck();
    void UpdateVersionLabel();
    void ShowAlreadyChecked();
    void ShowNewsFound();
    void ShowNoNews();
    void ShowCannotCheck();
    void SetStatus(const std::u16string& text, bool transparent, COLORREF color);

    UpdaterOptions options_;
    // The running check's download, shared with its thread; null between checks.
    std::shared_ptr<CheckJob> check_;
};

// The single panel; null until CreateUpdater.
extern TFrmUpdater* FrmUpdater;

// Creates the single panel, gives its announcer the news file's address and shows its
// page control inside the tab sheet.
void CreateUpdater(const std::u16string& URL, ui::TTabSheet* TabSheet,
                   const UpdaterOptions& options = {});
// Frees the panel, which saves its settings; nothing when there is none.
void FreeUpdater();

} // namespace vp
