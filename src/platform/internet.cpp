#include "platform/internet.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/failure_text.h"
#include "core/int_text.h"
#include "core/url.h"
#include "platform/ansi.h"
#include "platform/messages.h"
#include "platform/system_error.h"
#include "platform/wstr.h"

namespace vp {

namespace hooks {
std::function<bool()> ConnectedState;
std::function<bool(const InetRequestInfo&)> InetRequestOpening;
} // namespace hooks

namespace {

constexpr DWORD kReadBufferSize = 65536;

// WinInet's own errors (12001 and up) have their texts in wininet.dll.
std::u16string InetErrorText(DWORD code) {
    if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
        wchar_t* buffer = nullptr;
        const DWORD n =
            FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           GetModuleHandleW(L"wininet.dll"), code, 0,
                           reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        std::u16string text = n ? U(buffer, n) : std::u16string();
        LocalFree(buffer);
        while (!text.empty() &&
               (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
            text.pop_back();
        if (code == ERROR_INTERNET_TIMEOUT && text.empty())
            text = u"The operation timed out";
        if (!text.empty())
            return text + u" (" + FromUtf8(std::to_string(code)) + u")";
        return u"Internet error " + FromUtf8(std::to_string(code));
    }
    return SystemMessage(code);
}

void SetTimeouts(HINTERNET h, DWORD ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(h, option, &ms, sizeof(ms));
}

DWORD StatusOf(HINTERNET request) {
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr))
        return 0;
    return status;
}

bool Fail(std::string& body, InetResponse* response, std::u16string why) {
    body.clear();
    if (response)
        response->failure = std::move(why);
    return false;
}

// One request's exchange with the server, shared by the caller and the thread that runs
// it: the caller gives up at the deadline and leaves the thread to end alone.
struct Exchange {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool abandoned = false; // the caller closed the internet handle and went
    HINTERNET internet = nullptr;
    // What the thread found; read by the caller only once done.
    bool ok = false;
    std::string body;
    InetResponse response;
    std::exception_ptr error;

    // Closes a handle opened from the internet handle, unless the caller closed them all.
    void Close(HINTERNET h) {
        std::lock_guard<std::mutex> lock(mutex);
        if (h && !abandoned)
            InternetCloseHandle(h);
    }
};

// A connection or request handle of an exchange.
class ExchangeHandle {
  public:
    ExchangeHandle(Exchange& x, HINTERNET h) : x_(x), h_(h) {}
    ~ExchangeHandle() { x_.Close(h_); }
    ExchangeHandle(const ExchangeHandle&) = delete;
    ExchangeHandle& operator=(const ExchangeHandle&) = delete;
    HINTERNET Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

  private:
    Exchange& x_;
    HINTERNET h_;
};

bool Failed(Exchange& x, std::u16string why) {
    x.body.clear();
    x.response.failure = std::move(why);
    return false;
}

// The request itself, on the exchange's thread. Its handles close in reverse order of
// opening on every path.
bool RunExchange(Exchange& x, const std::u16string& URL, const InetRequestInfo& info,
                 const std::u16string& headers, std::string post, const InetLimits& limits) {
    ExchangeHandle connection(x, InternetConnectW(x.internet, W(info.server), info.port, nullptr,
                                                  nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return Failed(x, InetErrorText(GetLastError()));
    ExchangeHandle request(x, HttpOpenRequestW(connection.Get(), W(info.verb), W(info.object),
                                               nullptr, nullptr, nullptr, info.flags, 0));
    if (!request) {
        const DWORD code = GetLastError();
        throw Error(FailureText(u"Cannot open the request for " + URL, InetErrorText(code)));
    }
    SetTimeouts(request.Get(), limits.totalMs + 1000);
    HttpAddRequestHeadersW(request.Get(), W(headers), static_cast<DWORD>(headers.size()),
                           HTTP_ADDREQ_FLAG_ADD);
    if (!HttpSendRequestW(request.Get(), nullptr, 0, post.empty() ? nullptr : post.data(),
                          static_cast<DWORD>(post.size())))
        return Failed(x, InetErrorText(GetLastError()));
    x.response.status = StatusOf(request.Get());

    std::vector<char> buffer(kReadBufferSize);
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        DWORD read = 0;
        // A failed read (a server that stops answering mid-body) is a failed request: half
        // a news file is not a news file.
        if (!InternetReadFile(request.Get(), buffer.data(), kReadBufferSize, &read))
            return Failed(x, InetErrorText(GetLastError()));
        if (read == 0)
            break;
        if (x.body.size() + read > limits.maxBody)
            return Failed(x, u"The server sent more than " +
                                 FromUtf8(std::to_string(limits.maxBody / 1024)) +
                                 u" KB; the download was stopped.");
        x.body.append(buffer.data(), read);
    }
    return true;
}

std::u16string Seconds(unsigned ms) {
    const unsigned s = (ms + 999) / 1000;
    return IntToText(s) + (s == 1 ? u" second" : u" seconds");
}

} // namespace

InetLimits& CurrentInetLimits() {
    static InetLimits limits;
    return limits;
}

bool InetRequest(const std::u16string& URL, const std::u16string& Referer, std::string& Body,
                 const std::u16string& PostData, bool Secure, InetResponse* response,
                 const InetLimits& limits) {
    Body.clear();
    if (response)
        *response = {};
    InetRequestInfo info;
    info.server = UrlServerName(URL);
    info.object = UrlObjectName(URL);
    if (info.object.empty())
        info.object = u"/";
    int port = UrlPort(URL);
    if (port == 0)
        port = Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    info.port = static_cast<INTERNET_PORT>(port);
    info.verb = PostData.empty() ? u"GET" : u"POST";
    info.flags = Secure ? kSecureRequestFlags : kPlainRequestFlags;
    if (hooks::InetRequestOpening && !hooks::InetRequestOpening(info))
        return Fail(Body, response, u"The request was refused.");

    UniqueHInternet opened(
        InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!opened)
        return Fail(Body, response, InetErrorText(GetLastError()));
    // WinInet's time-outs bound each wait alone: a slow name lookup, a slow connect and a
    // server that sends a byte now and then add up without end. So the exchange runs on a
    // thread of its own and the caller gives up when the whole request's time is up. It
    // closes the internet handle then, which WinInet documents as the way to free a call
    // blocked in another thread (Wine's calls go on until their own time-outs, set just
    // beyond the deadline, end them).
    SetTimeouts(opened.Get(), limits.totalMs + 1000);
    auto x = std::make_shared<Exchange>();
    x->internet = opened.Get();
    std::thread worker(
        [x, URL, info, headers = RequestHeaderBlock(Referer), post = ToUtf8(PostData), limits] {
            bool ok = false;
            std::exception_ptr error;
            try {
                ok = RunExchange(*x, URL, info, headers, post, limits);
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(x->mutex);
            x->ok = ok;
            x->error = error;
            x->done = true;
            x->ended.notify_all();
        });
    // From here the handle is closed by hand: the deadline may close it early.
    opened.Release();
    std::unique_lock<std::mutex> lock(x->mutex);
    if (!x->ended.wait_for(lock, std::chrono::milliseconds(limits.totalMs),
                           [&] { return x->done; })) {
        x->abandoned = true;
        InternetCloseHandle(x->internet);
        lock.unlock();
        worker.detach();
        return Fail(Body, response,
                    u"The request did not end within " + Seconds(limits.totalMs) +
                        u" and was stopped.");
    }
    lock.unlock();
    worker.join();
    InternetCloseHandle(x->internet);
    if (x->error)
        std::rethrow_exception(x->error);
    if (response)
        *response = std::move(x->response);
    if (!x->ok)
        return false;
    Body = std::move(x->body);
    return true;
}

std::u16string InetGetText(const std::u16string& URL, const std::u16string& Referer,
                           InetResponse* response, const InetLimits& limits) {
    std::string body;
    if (!InetRequest(URL, Referer, body, u"", false, response, limits))
        return {};
    return DecodeAnsi(body);
}

bool IsConnectedToInternet() {
    if (hooks::ConnectedState)
        return hooks::ConnectedState();
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

int TestInternetAccess(const std::u16string& testPage) {
    if (!IsConnectedToInternet())
        return -1;
    return InetGetText(testPage.empty() ? kInternetTestPage : testPage, u"").empty() ? 0 : 1;
}

int TestInternetAccessMsg(const std::u16string& testPage) {
    const int result = TestInternetAccess(testPage);
    switch (result) {
    case -1:
        ShowInfo(u"The computer cannot access the Internet. Please check your Internet "
                 u"connection.");
        break;
    case 0:
        ShowInfo(u"The program  cannot access the Internet. Please check your antivirus/firewall.");
        break;
    default:
        ShowInfo(u"Successfully connected to Internet");
        break;
    }
    return result;
}

} // namespace vp
