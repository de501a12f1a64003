#pragma once
// One blocking HTTP request over WinInet, presenting itself as a desktop browser through a
// fixed header block; and the test whether the program can reach the internet. The user's
// proxy settings apply. The caller waits for the request, never longer than its deadline.
// A request shares nothing with other requests, so any thread may make one.
//
//     std::string body;
//     InetResponse response;
//     if (InetRequest(url, u"", body, u"", false, &response) && IsHttpSuccess(response.status)) ...
#include <windows.h>

#include <wininet.h>

#include <cstddef>
#include <functional>
#include <string>

#include "platform/unique_handle.h"

namespace vp {

struct HInternetTraits {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { InternetCloseHandle(h); }
};
using UniqueHInternet = UniqueHandle<HInternetTraits>;

// Request flags of the two kinds: plain requests never come from the local cache.
inline constexpr DWORD kPlainRequestFlags = 0x80000003;
inline constexpr DWORD kSecureRequestFlags = 0x00C00000;

// Bounds of every request. A dead, silent or trickling server would otherwise hold a
// request for minutes, and an endless body would fill memory; the news file is a few
// hundred bytes.
struct InetLimits {
    unsigned totalMs = 20000; // the whole request: name lookup, connect, send and body
    size_t maxBody = 1 << 20;
};
// The bounds in force; tests shorten them.
InetLimits& CurrentInetLimits();

// Where a request goes and how, as it is about to be opened.
struct InetRequestInfo {
    std::u16string server;
    INTERNET_PORT port = 0;
    std::u16string verb;
    std::u16string object;
    DWORD flags = 0;
};

// What became of a request beyond its result.
struct InetResponse {
    DWORD status = 0;       // the HTTP status; 0 when no response arrived
    std::u16string failure; // why the request failed, for the user; empty on success
};
inline bool IsHttpSuccess(DWORD status) {
    return status >= 200 && status <= 299;
}

// One request: GET, or POST when postData is given (sent as UTF-8). True when the request
// was sent and the whole response arrived, whatever its status; body holds the response
// body. False (body empty) when the internet handle or the connection cannot be opened,
// the send fails, a read fails, the whole request outlasts limits.totalMs, or the body
// exceeds the limit. Raises only when the request handle cannot be opened, and
// "Empty URL." for an empty URL.
bool InetRequest(const std::u16string& URL, const std::u16string& Referer, std::string& Body,
                 const std::u16string& PostData, bool Secure, InetResponse* response = nullptr,
                 const InetLimits& limits = CurrentInetLimits());
// A plain GET; the body in the system's ANSI code page, or "" when the request failed.
std::u16string InetGetText(const std::u16string& URL, const std::u16string& Referer,
                           InetResponse* response = nullptr,
                           const InetLimits& limits = CurrentInetLimits());

namespace hooks {
// Stands in for InternetGetConnectedState.
extern std::function<bool()> ConnectedState;
// Sees every request before it is opened; false ends it there, as a refused connection
// would. Set by tests only while no check runs on another thread.
extern std::function<bool(const InetRequestInfo&)> InetRequestOpening;
} // namespace hooks

bool IsConnectedToInternet();
// -1: the system reports no connection; 0: the test page came back empty; 1: it arrived.
// The page is a well-known public one unless told otherwise.
int TestInternetAccess(const std::u16string& testPage = {});
// TestInternetAccess, then tells the user what it found.
int TestInternetAccessMsg(const std::u16string& testPage = {});

inline constexpr char16_t kInternetTestPage[] = u"http://www.google.com/";

} // namespace vp
