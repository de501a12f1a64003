#include "platform/internet.h"

#include <algorithm>
#include <vector>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/url.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/wstr.h"

namespace vp {

namespace hooks {
std::function<bool()> ConnectedState;
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

} // namespace

InetLimits& CurrentInetLimits() {
    static InetLimits limits;
    return limits;
}

bool InetRequest(const std::u16string& URL, const std::u16string& Referer, std::string& Body,
                 const std::u16string& PostData, bool Secure, InetResponse* response) {
    Body.clear();
    if (response)
        *response = {};
    const std::u16string server = UrlServerName(URL);
    std::u16string object = UrlObjectName(URL);
    if (object.empty())
        object = u"/";
    const InetLimits limits = CurrentInetLimits();

    // Declared in opening order, so they close in reverse on every path.
    UniqueHInternet internet(
        InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet)
        return Fail(Body, response, InetErrorText(GetLastError()));
    SetTimeouts(internet.Get(), limits.timeoutMs);

    int port = UrlPort(URL);
    if (port == 0)
        port = Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    UniqueHInternet connection(InternetConnectW(internet.Get(), W(server),
                                                static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return Fail(Body, response, InetErrorText(GetLastError()));

    const wchar_t* verb = PostData.empty() ? L"GET" : L"POST";
    UniqueHInternet request(HttpOpenRequestW(connection.Get(), verb, W(object), nullptr, nullptr,
                                             nullptr,
                                             Secure ? kSecureRequestFlags : kPlainRequestFlags, 0));
    if (!request) {
        const DWORD code = GetLastError();
        throw Error(u"Cannot open the request for " + URL + u"\r\n" + InetErrorText(code));
    }
    SetTimeouts(request.Get(), limits.timeoutMs);

    const std::u16string headers = RequestHeaderBlock(Referer);
    HttpAddRequestHeadersW(request.Get(), W(headers), static_cast<DWORD>(headers.size()),
                           HTTP_ADDREQ_FLAG_ADD);

    std::string post = ToUtf8(PostData);
    if (!HttpSendRequestW(request.Get(), nullptr, 0, post.empty() ? nullptr : post.data(),
                          static_cast<DWORD>(post.size())))
        return Fail(Body, response, InetErrorText(GetLastError()));
    if (response)
        response->status = StatusOf(request.Get());

    std::vector<char> buffer(kReadBufferSize);
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        DWORD read = 0;
        // A failed read (a server that stops answering mid-body) is a failed request: half
        // a news file is not a news file.
        if (!InternetReadFile(request.Get(), buffer.data(), kReadBufferSize, &read))
            return Fail(Body, response, InetErrorText(GetLastError()));
        if (read == 0)
            break;
        if (Body.size() + read > limits.maxBody)
            return Fail(Body, response,
                        u"The server sent more than " +
                            FromUtf8(std::to_string(limits.maxBody / 1024)) +
                            u" KB; the download was stopped.");
        Body.append(buffer.data(), read);
    }
    return true;
}

std::u16string InetGetText(const std::u16string& URL, const std::u16string& Referer,
                           InetResponse* response) {
    std::string body;
    if (!InetRequest(URL, Referer, body, u"", false, response))
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
