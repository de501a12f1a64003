#include "app/announcer.h"

#include <windows.h>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/internet.h"
#include "platform/messages.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "ui/events.h"

namespace vp {

namespace {
constexpr char16_t kUnit[] = u"cUpdater";
constexpr char16_t kLastUpdateKey[] = u"LastUpdate";
} // namespace

TAnnouncer::TAnnouncer(const std::u16string& dataFolder, const std::u16string& iniPath)
    : iniPath_(iniPath) {
    AutoCheckEvery = 0;
    URL.clear();
    {
        TVelmorIniFile ini(AppName, iniPath_);
        LastUpdate = ini.ReadFloat(kLastUpdateKey, 0);
    }
    const std::u16string folder =
        dataFolder.empty() ? DataFolder() : WithTrailingDelimiter(dataFolder);
    EnsureFolderMsg(folder);
    FLocalFile = folder + u"OnlineNews";
    News = LoadLocalNews();
}

TAnnouncer::~TAnnouncer() {
    try {
        StoreLastUpdate();
    } catch (...) {
        OutputDebugStringW(
            W(u"Cannot save LastUpdate: " + ExceptionText(std::current_exception())));
    }
}

void TAnnouncer::StoreLastUpdate() {
    TVelmorIniFile ini(AppName, iniPath_);
    try {
        ini.WriteFloat(kLastUpdateKey, LastUpdate);
    } catch (const EIniFileException&) {
        // As with every settings write at exit, a file that cannot be written reaches only
        // the debugger.
        OutputDebugStringW(W(u"Cannot save INI file to disk: " + ini.FileName() + u"\t"));
    }
}

void TAnnouncer::Clear() {
    OnlineRec.Clear();
    HasNews = false;
}

RNews TAnnouncer::LoadLocalNews() {
    RNews rec;
    if (!FileExists(FLocalFile) || FileIsLocked(FLocalFile))
        return rec;
    std::u16string text;
    try {
        text = ReadTextFile(FLocalFile);
    } catch (...) {
        ShowError(u"Cannot open " + FLocalFile + u"\r\nDraxil blocked by overzealous antivirus?");
        text.clear();
    }
    rec.LoadFrom(text);
    return rec;
}

bool TAnnouncer::GetNews() {
    std::u16string why;
    if (!BeginCheck(why))
        return EndCheck({.why = why});
    return EndCheck(Download(URL, CurrentInetLimits()));
}

bool TAnnouncer::BeginCheck(std::u16string& why) {
    Clear();
    Assert(!URL.empty(), kUnit, u"Updater URL is empty!");
    try {
        ui::Raise(OnUpdateStart);
        return true;
    } catch (...) {
        why = ExceptionText(std::current_exception());
        return false;
    }
}

NewsDownload TAnnouncer::Download(const std::u16string& url, const InetLimits& limits) {
    NewsDownload result;
    try {
        InetResponse response;
        result.text = InetGetText(url, u"", &response, limits);
        result.why = response.failure;
        // An error page is no news file, and must not count as a completed check.
        if (result.why.empty() && !IsHttpSuccess(response.status))
            result.why = u"The server answered with HTTP status " +
                         FromUtf8(std::to_string(response.status)) + u".";
        else if (result.why.empty() && result.text.empty())
            result.why = u"The server sent an empty news file.";
        // A network's sign-in page answers every address with status 200; taken for the
        // news, it would replace the news remembered.
        else if (result.why.empty() && !IsNewsFile(result.text))
            result.why = u"The server sent a page that is not a news file.";
        // As in every file the program reads, and as the local copy reads back.
        ReplaceCharInPlace(result.text, u'\0', kNulSubstitute);
    } catch (...) {
        result.why = ExceptionText(std::current_exception());
    }
    if (!result.why.empty())
        result.text.clear();
    return result;
}

bool TAnnouncer::EndCheck(NewsDownload download) {
    std::u16string& text = download.text;
    if (!text.empty()) {
        LastUpdate = NowDateTime();
        OnlineRec.LoadFrom(text);
        HasNews = OnlineRec.Counter > News.Counter || ForceNewsFound;
        if (HasNews)
            WriteTextFile(FLocalFile, text, true, false);
        News = OnlineRec;
    } else if (ShowConnectFailure) {
        ShowError(u"Cannot check for news & updates!" +
                  (download.why.empty() ? u"" : u"\r\n" + download.why));
    }
    return !text.empty();
}

bool TAnnouncer::IsTimeToCheckAgain() const {
    return IsCheckDue(AutoCheckEvery, LastUpdate, NowDateTime(), ForceNewsFound);
}

bool TAnnouncer::NewVerionFound() const {
    return IsNewerVersion(News.AppVersion, AppVersionFull());
}

} // namespace vp
