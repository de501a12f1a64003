#include "platform/version.h"

#include <optional>
#include <vector>

#include "core/version_text.h"
#include "platform/wstr.h"

namespace vp {

bool ReadFixedFileInfo(const std::u16string& fileName, VS_FIXEDFILEINFO& info) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(W(fileName), &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> buffer(size);
    if (!GetFileVersionInfoW(W(fileName), 0, size, buffer.data()))
        return false;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", &block, &length) || !block ||
        length != sizeof(VS_FIXEDFILEINFO))
        return false;
    info = *static_cast<const VS_FIXEDFILEINFO*>(block);
    return true;
}

namespace {
std::optional<FileVersion> VersionOf(const std::u16string& fileName) {
    VS_FIXEDFILEINFO info{};
    if (!ReadFixedFileInfo(fileName, info))
        return std::nullopt;
    return FileVersion{info.dwFileVersionMS, info.dwFileVersionLS};
}
} // namespace

std::u16string FileVersionFull(const std::u16string& f) {
    return VersionFullText(VersionOf(f));
}
std::u16string FileVersionShort(const std::u16string& f) {
    return VersionShortText(VersionOf(f));
}
std::u16string FileVersionLabel(const std::u16string& f) {
    return VersionLabelText(VersionOf(f));
}

std::u16string ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return U(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string AppVersionFull() {
    return FileVersionFull(ExecutablePath());
}
std::u16string AppVersionShort() {
    return FileVersionShort(ExecutablePath());
}
std::u16string AppVersionLabel() {
    return FileVersionLabel(ExecutablePath());
}

void WindowsVersion(int& major, int& minor) {
    major = 0;
    minor = 0;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll)
        return;
    auto fn = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!fn)
        return;
    OSVERSIONINFOEXW v{};
    v.dwOSVersionInfoSize = sizeof(v);
    if (fn(&v) == 0) {
        major = static_cast<int>(v.dwMajorVersion);
        minor = static_cast<int>(v.dwMinorVersion);
    }
}

int WindowsMajorVersion() {
    int major, minor;
    WindowsVersion(major, minor);
    return major;
}

bool IsVistaOrLater() {
    return WindowsMajorVersion() > 5;
}

} // namespace vp
