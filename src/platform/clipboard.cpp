#include "platform/clipboard.h"

#include <windows.h>

#include <cstring>

#include "core/capture.h"
#include "core/errors.h"
#include "platform/hooks.h"
#include "platform/system_error.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"

namespace vp {

namespace {

void Wait(unsigned milliseconds) {
    if (hooks::Sleep)
        hooks::Sleep(milliseconds);
    else
        ::Sleep(milliseconds);
}

[[noreturn]] void ThrowCannotOpen(DWORD code) {
    // Held by another program, the open may fail without saying why.
    ThrowSystemError(u"Cannot open clipboard", code ? code : ERROR_ACCESS_DENIED);
}

class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner = nullptr) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

  private:
    bool open_;
};

class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    ~GlobalLockGuard() {
        if (p_)
            GlobalUnlock(h_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* Get() const { return p_; }

  private:
    HGLOBAL h_;
    void* p_;
};

UINT RegisteredFormat(const wchar_t* name) {
    return RegisterClipboardFormatW(name);
}

// Needs the clipboard open: reads the history flag's DWORD.
bool IsPrivateCopy() {
    static const UINT exclude = RegisteredFormat(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT viewerIgnore = RegisteredFormat(L"Clipboard Viewer Ignore");
    static const UINT history = RegisteredFormat(L"CanIncludeInClipboardHistory");
    if ((exclude && IsClipboardFormatAvailable(exclude)) ||
        (viewerIgnore && IsClipboardFormatAvailable(viewerIgnore)))
        return true;
    if (!history || !IsClipboardFormatAvailable(history))
        return false;
    HANDLE h = GetClipboardData(history);
    if (!h || GlobalSize(h) < sizeof(DWORD))
        return false;
    GlobalLockGuard lock(h);
    if (!lock.Get())
        return false;
    DWORD value;
    std::memcpy(&value, lock.Get(), sizeof value);
    return value == 0;
}

// The Unicode text of the open clipboard, never read beyond its memory block.
bool ReadUnicodeText(std::u16string& out) {
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    if (!h) {
        out.clear();
        return true;
    }
    GlobalLockGuard lock(h);
    if (!lock.Get())
        return false;
    const size_t units = GlobalSize(h) / sizeof(char16_t);
    out = TextBeforeNul({static_cast<const char16_t*>(lock.Get()), units});
    return true;
}

} // namespace

bool ClipboardOffersText() {
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

ClipboardText FetchClipboard(int attempts) {
    ClipboardText result;
    if (!ClipboardOffersText())
        return result;
    result.offered = true;
    for (int i = 0; i < attempts; ++i) {
        {
            OpenedClipboard clipboard;
            if (clipboard.IsOpen()) {
                if (IsPrivateCopy()) {
                    result.isPrivate = result.fetched = true;
                    return result;
                }
                if (ReadUnicodeText(result.text)) {
                    result.fetched = true;
                    return result;
                }
            }
        }
        Wait(kClipboardRetryMilliseconds);
    }
    result.text.clear();
    return result;
}

std::u16string FetchClipboardText(int attempts) {
    return FetchClipboard(attempts).text;
}

std::u16string ClipboardTextForPaste(HWND owner) {
    DWORD code = 0;
    for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
        {
            // Closed however the read ends: an open clipboard locks out every program.
            OpenedClipboard clipboard(owner);
            if (clipboard.IsOpen()) {
                std::u16string text;
                ReadUnicodeText(text);
                return text;
            }
            code = GetLastError();
        }
        Wait(kClipboardRetryMilliseconds);
    }
    ThrowCannotOpen(code);
}

void EmptyClipboardOnce() {
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen())
        ThrowCannotOpen(GetLastError());
    if (!EmptyClipboard())
        ThrowLastError(u"Cannot clear clipboard");
}

void SetClipboardText(const std::u16string& text) {
    // The data needs an owner window; a message-only one lives for this call.
    const UniqueHWnd owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));

    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    UniqueHGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        ThrowLastError(u"Cannot set clipboard");
    {
        GlobalLockGuard lock(memory.Get());
        if (!lock.Get())
            ThrowLastError(u"Cannot set clipboard");
        std::memcpy(lock.Get(), text.c_str(), bytes);
    }
    for (int i = 0; i < kClipboardAttempts; ++i) {
        OpenedClipboard clipboard(owner.Get());
        if (clipboard.IsOpen()) {
            EmptyClipboard();
            if (!SetClipboardData(CF_UNICODETEXT, memory.Get()))
                ThrowLastError(u"Cannot set clipboard");
            memory.Release(); // the clipboard owns the memory now
            return;
        }
        if (i + 1 < kClipboardAttempts)
            Wait(kClipboardRetryMilliseconds);
    }
    ThrowCannotOpen(GetLastError());
}

} // namespace vp
