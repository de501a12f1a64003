#pragma once
// The news announcer: fetches the vendor's news file, decides whether it brings news and
// whether it announces a newer version, keeps the news that came last in a local copy and
// decides when the next automatic check is due. It has no window; the updates panel owns
// it, copies the user's settings into it and shows the results.
//
//     TAnnouncer announcer;
//     announcer.URL = vendor::kNewsFile;
//     if (announcer.GetNews() && announcer.HasNews) ... announcer.News.NewsText ...
#include <cstdint>
#include <functional>
#include <string>

#include "core/news.h"
#include "platform/internet.h"

namespace vp {

// What the download of one check brought.
struct NewsDownload {
    std::u16string text;
    // Why the download failed, one line for the user; empty when it succeeded.
    std::u16string why;
};

class TAnnouncer {
  public:
    // The local copy "OnlineNews" lives in dataFolder (DataFolder() when empty) and
    // LastUpdate in iniPath (the settings file when empty).
    explicit TAnnouncer(const std::u16string& dataFolder = {}, const std::u16string& iniPath = {});
    // Stores LastUpdate.
    virtual ~TAnnouncer();
    TAnnouncer(const TAnnouncer&) = delete;
    TAnnouncer& operator=(const TAnnouncer&) = delete;

    const std::u16string& LocalFile() const { return FLocalFile; }

    // Clears OnlineRec and HasNews.
    void Clear();
    // One check; true when a news file arrived. A failed check leaves LastUpdate and News
    // as they were and, with ShowConnectFailure, tells the user why.
    bool GetNews();
    // GetNews in three steps, so that the download can run on another thread: BeginCheck
    // and EndCheck on the window's thread, Download anywhere. BeginCheck is false, with
    // the reason, when the check failed before its download.
    bool BeginCheck(std::u16string& why);
    static NewsDownload Download(const std::u16string& url, const InetLimits& limits);
    bool EndCheck(NewsDownload download);
    bool IsTimeToCheckAgain() const;
    // Whether News announces a higher version than the running program's.
    bool NewVerionFound() const;
    // Writes LastUpdate to the settings file now.
    void StoreLastUpdate();

  private:
    std::u16string FLocalFile;

  public:
    // Local date-time of the last completed check; 0: never.
    double LastUpdate = 0;
    // Raised at the start of every check, before the download.
    std::function<void()> OnUpdateStart;
    RNews OnlineRec;
    std::u16string URL;
    RNews News;
    bool HasNews = false;
    // Days between automatic checks; 0: at every start.
    int32_t AutoCheckEvery = 0;
    bool ShowConnectFailure = false;
    // Test switch: every check brings news and every schedule test passes.
    bool ForceNewsFound = false;

  private:
    RNews LoadLocalNews();
    std::u16string iniPath_;
};

} // namespace vp
