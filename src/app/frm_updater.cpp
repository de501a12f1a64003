#include "app/frm_updater.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/errors.h"
#include "core/scope_exit.h"
#include "platform/internet.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "ui/busy_cursor.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/form_state.h"
#include "ui/layout.h"
#include "ui/private_messages.h"

namespace vp {

using namespace ui;

TFrmUpdater* FrmUpdater = nullptr;

namespace {

constexpr char16_t kUnit[] = u"FormUpdater";
constexpr char16_t kEveryDayCaption[] = u"Check for news every                  day(s)";

std::unique_ptr<TFrmUpdater>& Instance() {
    static std::unique_ptr<TFrmUpdater> instance;
    return instance;
}

// Static text drawn centred, vertically too, on one line.
void CenterText(TLabel& label) {
    const LONG style = GetWindowLongW(label.Handle(), GWL_STYLE);
    SetWindowLongW(label.Handle(), GWL_STYLE, (style & ~SS_TYPEMASK) | SS_CENTER | SS_CENTERIMAGE);
    label.Invalidate();
}

// Where the interval box sits inside the blanks of the radio button's caption, one blank
// in, at 96 DPI.
int IntervalBoxLeft(HWND radio, int radioLeft) {
    const std::optional<CaptionGap> gap = MeasureCaptionGap(radio, kEveryDayCaption);
    const int text = gap ? gap->before + gap->blank : 0;
    const int glyph = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    return radioLeft + MulDiv(text + glyph, 96, static_cast<int>(ScreenDpi()));
}

// How long closing the program waits for a check's download to end.
constexpr auto kDownloadWaitAtClose = std::chrono::seconds(1);

} // namespace

// The one piece a check's thread shares with the window's thread; the thread touches
// nothing else but its own copies, and no window at all.
struct TFrmUpdater::CheckJob {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;      // the download has ended
    bool abandoned = false; // the panel is going: nobody takes the result
    NewsDownload result;
    std::thread thread; // the window's thread alone uses this
};

void TStateLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

bool TStateLabel::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC) {
        const COLORREF back =
            transparent_ || Color() == ui::clDefault
                ? (Parent() ? Parent()->BackgroundColor() : GetSysColor(COLOR_BTNFACE))
                : Color();
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, back);
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(SolidBrush(back));
        return true;
    }
    return TLabel::HandleNotification(msg, wParam, lParam, result);
}

TFrmUpdater::TFrmUpdater(const UpdaterOptions& options)
    : TForm(u"FrmUpdater", {.className = L"TFrmUpdater",
                            .caption = u"Online News, Updates and Announcements",
                            .clientWidth = 590,
                            .clientHeight = 381,
                            .exStyle = WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW}),
      options_(options) {
    CreateControls();
    FormCreate();
}

TFrmUpdater::~TFrmUpdater() {
    AbandonCheck();
    try {
        FormDestroy();
    } catch (...) {
        ReportCurrentException();
    }
}

void TFrmUpdater::CreateControls() {
    pgControl = &Create<TPageControl>(*this, u"pgControl", {}, {.align = TAlign::alClient});
    tabNews = &Create<TTabSheet>(*pgControl, u"tabNews", {}, {.caption = u"News"});
    pnlNewsBottom =
        &Create<TPanel>(*tabNews, u"pnlNewsBottom", {0, 0, 590, 56}, {.align = TAlign::alBottom});
    Log = &Create<TRichLog>(*tabNews, u"Log", {},
                            {.align = TAlign::alClient,
                             .verbosity = lvVerbose,
                             .tabStop = false,
                             .readOnly = true,
                             .fontName = u"Arial",
                             .fontHeight = 13});
    pnlNewsButton = &Create<TPanel>(*pnlNewsBottom, u"pnlNewsButton", {0, 0, 140, 56},
                                    {.align = TAlign::alLeft});
    btnCheckManually = &Create<TButton>(*pnlNewsButton, u"btnCheckManually", {8, 14, 124, 28},
                                        {.caption = u"Check for news",
                                         .hint = u"Check our website for news and updates now.",
                                         .onClick = [this] { btnCheckManuallyClick(); }});
    pnlNewsStatus = &Create<TPanel>(*pnlNewsBottom, u"pnlNewsStatus", {0, 0, 450, 56},
                                    {.align = TAlign::alClient});
    // Margins above and to the right of the status lines.
    Create<TPanel>(*pnlNewsStatus, u"pnlStatusTop", {0, 0, 450, 4}, {.align = TAlign::alTop});
    Create<TPanel>(*pnlNewsBottom, u"pnlStatusRight", {0, 0, 8, 56}, {.align = TAlign::alRight});
    lblStatus = &Create<TStateLabel>(*pnlNewsStatus, u"lblStatus", {0, 0, 450, 28},
                                     {.caption = u".", .align = TAlign::alTop});
    lblVersion =
        &Create<TStateLabel>(*pnlNewsStatus, u"lblVersion", {0, 28, 450, 24},
                             {.caption = u"You are running v0.0.0.00", .align = TAlign::alTop});
    CenterText(*lblStatus);
    CenterText(*lblVersion);
    // Opaque, the version line stands on the window's own colour.
    lblVersion->SetColor(GetSysColor(COLOR_BTNFACE));

    tabSettings = &Create<TTabSheet>(*pgControl, u"tabSettings", {}, {.caption = u"Settings"});
    grpSettings = &Create<TGroupBox>(*tabSettings, u"grpSettings", {8, 8, 566, 184},
                                     {.caption = u"Settings"});
    chkShowConnectFail = &Create<TCheckBox>(
        *grpSettings, u"chkShowConnectFail", {14, 116, 440, 20},
        {.caption = u"Show message when the program cannot connect to Internet",
         .hint = u"Show message if the program encounters problems while trying to connect to "
                 u"our website.\r\nIf other programs can access the internet but this program "
                 u"can't it means that it is blocked by an antivirus/firewall.\r\nWhitelist the "
                 u"program in your antivirus/firewall in order to get updates.\r\nIt is "
                 u"important to stay up to date!",
         .checked = true,
         .onClick = [this] { chkShowConnectFailClick(); }});
    btnTestInternet = &Create<TButton>(
        *grpSettings, u"btnTestInternet", {14, 144, 190, 28},
        {.caption = u"Check Internet Connection",
         .hint = u"Test if this program can connect to the Internet or not.\r\n\r\nIf other "
                 u"programs can access the internet but this program can't it means that it is "
                 u"blocked by an antivirus/firewall.\r\nWhitelist the program in your "
                 u"antivirus/firewall in order to get updates.\r\nIt is important to stay up to "
                 u"date!",
         .onClick = [this] { btnTestInternetClick(); }});
    chkForceNewsFound = &Create<TCheckBox>(
        *grpSettings, u"chkForceNewsFound", {214, 148, 250, 20},
        {.caption = u"Force ThereAreNewsOnline", .onClick = [this] { chkForceNewsFoundClick(); }});
    grpInterval = &Create<TGroupBox>(*grpSettings, u"grpInterval", {14, 22, 538, 84},
                                     {.caption = u"News interval"});
    radEveryDay = &Create<TRadioButton>(
        *grpInterval, u"radEveryDay", {12, 50, 400, 22},
        {.caption = kEveryDayCaption,
         .hint = u"Activate Online News. \r\nThe program will check for news and updates when "
                 u"it starts, but no more than once per day."});
    spnInterval = &Create<TVelmorSpinEdit>(
        *grpInterval, u"spnInterval", {IntervalBoxLeft(radEveryDay->Handle(), 12), 50, 46, 22},
        {.minValue = 0,
         .maxValue = 30,
         .value = 1,
         .hint = u"This value specifies how often to check the web site for news and "
                 u"updates.\r\nSet to 0 to check every time the program starts (multiple "
                 u"times per day).",
         .onChange = [this] { spnIntervalChange(); },
         .delay = 1500});
    radEveryTime = &Create<TRadioButton>(
        *grpInterval, u"radEveryTime", {12, 22, 400, 22},
        {.caption = u"Check for news every time the program starts", .checked = true});
    // The box sits over the blanks of the radio button's caption, and stays drawn there.
    SetWindowLongW(radEveryDay->Handle(), GWL_STYLE,
                   GetWindowLongW(radEveryDay->Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(radEveryTime->Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(radEveryDay->Handle(), radEveryTime->Handle(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(spnInterval->Handle(), radEveryDay->Handle(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A choice takes effect at once; without this a saved "every time" would wait for a
    // change of the interval box.
    radEveryTime->OnClick = [this] { spnIntervalChange(); };
    radEveryDay->OnClick = [this] { spnIntervalChange(); };

    Timer = &CreateComponent<TTimer>(
        u"Timer", {.interval = 1000, .enabled = false, .onTimer = [this] { TimerTimer(); }});
}

void TFrmUpdater::FormCreate() {
    Announcer = std::make_unique<TAnnouncer>(options_.dataFolder, options_.iniPath);
    Announcer->AutoCheckEvery = spnInterval->Value();
    Announcer->OnUpdateStart = [this] { UpdateStart(); };
    Announcer->ShowConnectFailure = chkShowConnectFail->Checked();
    Announcer->ForceNewsFound = chkForceNewsFound->Checked();
    pgControl->SetActivePage(tabNews);
    chkForceNewsFound->SetVisible(false);
    chkForceNewsFound->SetChecked(false);
    Assert(lblVersion->Transparent(), kUnit, u"The version label must be transparent!");
    LoadFormState(*this, options_.iniPath);
    // The restored choice and interval, whichever of them differ from the design values.
    spnIntervalChange();
    Log->AddInfo(Announcer->News.NewsText);
    UpdateVersionLabel();
}

void TFrmUpdater::SaveState() {
    SaveFormState(*this, options_.iniPath);
    if (Announcer)
        Announcer->StoreLastUpdate();
}

void TFrmUpdater::FormDestroy() {
    SaveFormState(*this, options_.iniPath);
    Assert(Announcer != nullptr, kUnit, u"Announce is already NIL!");
    Announcer.reset();
}

void TFrmUpdater::GetNewsAuto(int DelaySec) {
    Assert(DelaySec >= 0, kUnit, u"The delay must not be negative!");
    // A timer of interval 0 never fires: no delay means at once.
    const long long ms =
        std::clamp<long long>(static_cast<long long>(DelaySec) * 1000, 1, USER_TIMER_MAXIMUM);
    Timer->SetInterval(static_cast<UINT>(ms));
    Timer->SetEnabled(true);
}

void TFrmUpdater::TimerTimer() {
    Timer->SetEnabled(false);
    RunCheck(true);
}

void TFrmUpdater::btnCheckManuallyClick() {
    Timer->SetEnabled(false);
    RunCheck(false);
}

void TFrmUpdater::RunCheck(bool scheduled) {
    if (check_)
        return; // one check at a time
    if (scheduled && !Announcer->IsTimeToCheckAgain()) {
        ShowAlreadyChecked();
        UpdateVersionLabel();
        return;
    }
    btnCheckManually->SetEnabled(false);
    // Unless a download is under way, the button comes back on every path, errors included.
    auto enable = ScopeExit([this] {
        if (!check_)
            btnCheckManually->SetEnabled(true);
    });
    std::u16string why;
    if (!Announcer->BeginCheck(why)) {
        CheckEnded(Announcer->EndCheck({.why = why}));
        return;
    }
    auto job = std::make_shared<CheckJob>();
    job->thread =
        std::thread([job, url = Announcer->URL, limits = CurrentInetLimits(), window = Handle()] {
            NewsDownload result = TAnnouncer::Download(url, limits);
            std::lock_guard<std::mutex> lock(job->mutex);
            job->done = true;
            if (!job->abandoned) {
                job->result = std::move(result);
                PostMessageW(window, WM_NEWS_DOWNLOADED, 0, 0);
            }
            job->ended.notify_all();
        });
    check_ = std::move(job);
}

void TFrmUpdater::DownloadEnded() {
    if (!check_)
        return;
    NewsDownload result;
    {
        std::lock_guard<std::mutex> lock(check_->mutex);
        if (!check_->done)
            return; // not this check's message
        result = std::move(check_->result);
    }
    const std::shared_ptr<CheckJob> job = std::exchange(check_, nullptr);
    job->thread.join(); // it has only its return left
    btnCheckManually->SetEnabled(true);
    CheckEnded(Announcer->EndCheck(std::move(result)));
}

void TFrmUpdater::CheckEnded(bool result) {
    if (!result)
        ShowCannotCheck();
    else if (Announcer->HasNews)
        ShowNewsFound();
    else
        ShowNoNews();
    UpdateVersionLabel();
}

void TFrmUpdater::AbandonCheck() {
    const std::shared_ptr<CheckJob> job = std::exchange(check_, nullptr);
    if (!job)
        return;
    // A download about to end may end; a slow one is left to finish alone, its result
    // unseen: the program's exit does not wait for the network.
    std::unique_lock<std::mutex> lock(job->mutex);
    job->ended.wait_for(lock, kDownloadWaitAtClose, [&] { return job->done; });
    job->abandoned = true;
    const bool done = job->done;
    lock.unlock();
    if (done)
        job->thread.join();
    else
        job->thread.detach();
}

LRESULT TFrmUpdater::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NEWS_DOWNLOADED) {
        DownloadEnded();
        return 0;
    }
    return TForm::HandleMessage(msg, wParam, lParam);
}

void TFrmUpdater::UpdateStart() {
    SetStatus(u"Checking for news...", false, RGB(255, 120, 0));
}

void TFrmUpdater::SetStatus(const std::u16string& text, bool transparent, COLORREF color) {
    if (!transparent)
        lblStatus->SetColor(color);
    lblStatus->SetTransparent(transparent);
    lblStatus->SetCaption(text);
}

void TFrmUpdater::ShowAlreadyChecked() {
    SetStatus(u"The program has already checked the web for news today.", true, 0);
}

void TFrmUpdater::ShowNewsFound() {
    SetStatus(u"We have news for you!", false, RGB(0, 207, 0));
    Log->Clear();
    Log->AddInfo(Announcer->News.NewsText);
    UpdateVersionLabel();
    ui::Raise(OnHasNews);
}

void TFrmUpdater::ShowNoNews() {
    SetStatus(u"No news today.", true, 0);
}

void TFrmUpdater::ShowCannotCheck() {
    SetStatus(u"Cannot check for news! Make sure this program is not blocked by your firewall!",
              false, RGB(255, 64, 64));
}

void TFrmUpdater::UpdateVersionLabel() {
    lblVersion->SetCaption(u"You are running version: " + AppVersionShort() +
                           u".  Online version: " + Announcer->News.AppVersion);
    lblVersion->SetTransparent(!Announcer->NewVerionFound());
}

void TFrmUpdater::btnTestInternetClick() {
    const BusyCursor busy;
    TestInternetAccessMsg(TestPage);
}

void TFrmUpdater::chkShowConnectFailClick() {
    Announcer->ShowConnectFailure = chkShowConnectFail->Checked();
}

void TFrmUpdater::chkForceNewsFoundClick() {
    Announcer->ForceNewsFound = chkForceNewsFound->Checked();
}

void TFrmUpdater::spnIntervalChange() {
    if (!Announcer)
        return; // the box's own creation
    spnInterval->SetEnabled(radEveryDay->Checked());
    Announcer->AutoCheckEvery = radEveryTime->Checked() ? 0 : spnInterval->Value();
    // Setting the box raises this handler again, even for the same text: only a change
    // may set it, or the two would call each other until the stack ran out.
    if (radEveryTime->Checked() && spnInterval->Value() != 1)
        spnInterval->SetValue(1);
}

void CreateUpdater(const std::u16string& URL, TTabSheet* TabSheet, const UpdaterOptions& options) {
    Assert(FrmUpdater == nullptr, kUnit, u"The updater was already created!");
    Assert(TabSheet != nullptr, kUnit, u"The updater MUST be parented.");
    Instance() = std::make_unique<TFrmUpdater>(options);
    FrmUpdater = Instance().get();
    FrmUpdater->Announcer->URL = URL;
    FrmUpdater->pgControl->SetParentControl(*TabSheet);
    FrmUpdater->pgControl->SetVisible(true);
}

void FreeUpdater() {
    FrmUpdater = nullptr;
    Instance().reset();
}

} // namespace vp
