#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/scope_exit.h"
#include "core/temp_files.h"
#include "core/text.h"
#include "platform/ansi.h"
#include "platform/messages.h"
#include "platform/system_error.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"

namespace vp {

namespace hooks {
std::function<void(const std::u16string& fileName)> FileReplacing;
} // namespace hooks

namespace {

[[noreturn]] void RaiseFileError(const char16_t* what, const std::u16string& fileName, DWORD code) {
    ThrowSystemError(std::u16string(what) + u" \"" + fileName + u"\"", code);
}

// Closes now; false when closing failed (a write may have been lost).
bool CloseFile(UniqueHFile& h) {
    return !h || CloseHandle(h.Release()) != 0;
}

std::u16string FullPathOf(const std::u16string& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetFullPathNameW(W(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0)
            return path;
        if (n < buffer.size())
            return U(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

DWORD Attributes(const std::u16string& path) {
    return GetFileAttributesW(W(path));
}

// Whether a reparse point resolves to something that exists.
bool LinkTargetExists(const std::u16string& path) {
    UniqueHFile h(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return static_cast<bool>(h);
}

uint64_t FileTimeValue(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

bool WriteAll(HANDLE h, std::string_view bytes, uint64_t* hash = nullptr) {
    if (hash)
        *hash = HashBytes(bytes, *hash);
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Text as UTF-8, encoded a piece at a time: a big pad is never held a second time.
bool WriteUtf8(HANDLE h, std::u16string_view text, bool withBOM, uint64_t* hash = nullptr) {
    constexpr size_t kPieceUnits = 1u << 18;
    if (withBOM && !WriteAll(h, "\xEF\xBB\xBF", hash))
        return false;
    for (size_t at = 0; at < text.size();) {
        const size_t end = Utf8PieceEnd(text, at, kPieceUnits);
        if (!WriteAll(h, EncodeText(text.substr(at, end - at), false), hash))
            return false;
        at = end;
    }
    return true;
}

// Raises the platform's errors for a path that cannot name a file.
void ValidatePath(const std::u16string& path, const std::u16string& full, size_t maxLength) {
    const bool prefixed = LongPathPrefixLength(path) > 0;
    if (!prefixed && full.size() >= maxLength)
        throw Error(u"The specified path is too long");
    if (!PathColonsValid(full) || !PathColonsValid(path))
        throw Error(u"The path format is not supported");
    if (TrimControls(path).empty() || HasInvalidPathChars(path))
        throw Error(u"Invalid characters in path");
}

bool IsRetryableShareError(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
           code == ERROR_LOCK_VIOLATION;
}

void AppendToFile(const std::u16string& fileName, std::u16string_view text) {
    UniqueHFile h(CreateFileW(W(fileName), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        RaiseFileError(u"Cannot open file", fileName, GetLastError());
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(h.Get(), LARGE_INTEGER{}, &end, FILE_END))
        RaiseFileError(u"Cannot write to file", fileName, GetLastError());
    if (!WriteUtf8(h.Get(), text, false)) {
        const DWORD code = GetLastError();
        // Take back a partial append so that the file holds whole texts only.
        SetFilePointerEx(h.Get(), end, nullptr, FILE_BEGIN);
        SetEndOfFile(h.Get());
        RaiseFileError(u"Cannot write to file", fileName, code);
    }
    if (!CloseFile(h))
        RaiseFileError(u"Cannot write to file", fileName, GetLastError());
}

// Writes a temporary file beside the target and moves it over the target in one step,
// so the target holds either its old or its new content, never a part.
// Second names of replaced versions that could not be removed at once: another program
// held the old version open without sharing its deletion. Each later replace tries again;
// the next start removes what is left, as it removes temporary files.
std::vector<std::u16string>& StaleLinks() {
    static std::vector<std::u16string> links;
    return links;
}

void RemoveLink(const std::u16string& name) {
    if (!DeleteFileW(W(name)) && GetLastError() != ERROR_FILE_NOT_FOUND)
        StaleLinks().push_back(name);
}

void RemoveStaleLinks() {
    std::vector<std::u16string> links = std::move(StaleLinks());
    StaleLinks().clear();
    for (const std::u16string& name : links)
        RemoveLink(name);
}

// The stamp through a handle: on NTFS a second name's directory entry may keep an old size.
FileStamp StampThroughHandle(const std::u16string& fileName) {
    UniqueHFile h(CreateFileW(W(fileName), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !GetFileInformationByHandle(h.Get(), &info))
        return {};
    return {true, (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            FileTimeValue(info.ftLastWriteTime)};
}

std::optional<FileVersion> ReplaceFileWith(const std::u16string& fileName,
                                           const std::u16string& folder, std::u16string_view text,
                                           bool withBOM, const FileStamp* expected = nullptr,
                                           std::optional<MissedVersion>* missed = nullptr) {
    static unsigned counter = 0;
    RemoveStaleLinks();
    std::u16string temp;
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && raw == INVALID_HANDLE_VALUE; ++attempt) {
        temp = folder + TempFileName(GetCurrentProcessId(), ++counter);
        raw = CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
        if (raw == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (raw == INVALID_HANDLE_VALUE)
        RaiseFileError(u"Cannot create file", fileName, GetLastError());
    UniqueHFile h(raw);
    auto fail = [&](DWORD code) {
        h.Reset();
        DeleteFileW(W(temp));
        RaiseFileError(u"Cannot create file", fileName, code);
    };
    FileVersion version;
    version.hash = kHashSeed;
    if (!WriteUtf8(h.Get(), text, withBOM, &version.hash) || !FlushFileBuffers(h.Get()))
        fail(GetLastError());
    // The stamp of these very bytes, before the move: a change that lands after it shows.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h.Get(), &info))
        version.stamp = {true,
                         (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                         FileTimeValue(info.ftLastWriteTime)};
    if (!CloseFile(h))
        fail(GetLastError());
    // Windows refuses to replace a read-only file; Wine would replace it silently.
    const DWORD targetAttributes = GetFileAttributesW(W(fileName));
    if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_READONLY))
        fail(ERROR_ACCESS_DENIED);
    // A second name for the version about to be replaced: what another program writes to it
    // after the last look, in place or through a handle opened before the move, still
    // shows through this name once the move is done. A file system without links has
    // only the last look.
    std::u16string oldLink;
    if (missed && expected && expected->exists) {
        for (int attempt = 0; attempt < 100 && oldLink.empty(); ++attempt) {
            std::u16string name = folder + TempFileName(GetCurrentProcessId(), ++counter);
            if (CreateHardLinkW(W(name), W(fileName), nullptr))
                oldLink = std::move(name);
            else if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
    }
    const ScopeExit dropLink([&] {
        if (!oldLink.empty())
            RemoveLink(oldLink);
    });
    // The last look before the move: the smallest window the file system leaves.
    if (expected && QueryFileStamp(fileName) != *expected) {
        DeleteFileW(W(temp));
        return std::nullopt;
    }
    if (hooks::FileReplacing)
        hooks::FileReplacing(fileName);
    // Another program (a virus scanner, an indexer) may hold the target for a moment.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(W(temp), W(fileName), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            if (!oldLink.empty() && StampThroughHandle(oldLink) != *expected) {
                try {
                    MissedVersion m;
                    m.text = ReadTextFile(oldLink, &m.version);
                    *missed = std::move(m);
                } catch (...) {
                    // Unreadable now: the new text stands, as without a link.
                }
            }
            return version;
        }
        const DWORD code = GetLastError();
        if (attempt >= 10 || !IsRetryableShareError(code))
            fail(code);
        ::Sleep(100);
    }
}

} // namespace

std::u16string FolderOf(const std::u16string& path, bool silent) {
    FolderPart part = FolderPartOf(path);
    switch (part.status) {
    case FolderPart::Ok:
        return std::move(part.folder);
    case FolderPart::TooLong:
        throw Error(u"The specified path is too long");
    case FolderPart::InvalidChars:
        throw Error(u"Invalid characters in file name");
    case FolderPart::Rejected:
        break;
    }
    if (silent)
        return {};
    throw Error(u"The path is invalid!\r\n" + path);
}

bool FolderExists(const std::u16string& path) {
    if (path.empty() || path.back() == u' ')
        return false;
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return !(a & FILE_ATTRIBUTE_REPARSE_POINT) || LinkTargetExists(path);
}

bool FolderExistsMsg(const std::u16string& path) {
    if (FolderExists(path))
        return true;
    if (path.empty())
        ShowInfo(u"No folder specified!");
    else if (path.find(u':') != std::u16string::npos)
        ShowError(u"Folder does not exist:\r\n" + path);
    else
        ShowError(u"A relative path was provided instead of a full path!\r\n" + path);
    return false;
}

int EnsureFolder(const std::u16string& path) {
    Assert(!path.empty(), u"cIO", u"ForceDirectories - Parameter is empty!");
    if (FolderExists(path))
        return 0;
    const std::u16string full = FullPathOf(path);
    ValidatePath(path, full, 248);
    const size_t prefix = LongPathPrefixLength(full);
    if (full.size() >= prefix + 2 && full[prefix + 1] == u':') {
        const char16_t letter = UpCaseAscii(full[prefix]);
        if (letter < u'A' || letter > u'Z' || !(GetLogicalDrives() & (1u << (letter - u'A'))))
            throw Error(u"The drive cannot be found");
    }
    // From the root down; the root itself (a drive, or a network server and its share)
    // cannot be made.
    for (const std::u16string& level : FolderLevels(full)) {
        const DWORD a = Attributes(level);
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (!CreateDirectoryW(W(level), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return FolderExists(path) ? 1 : -1;
}

bool EnsureFolderMsg(const std::u16string& path) {
    if (EnsureFolder(path) != -1)
        return true;
    ShowError(u"Cannot create folder: " + path +
              u"\r\nProbably you are trying to write to a folder to which you don't have write "
              u"permissions, or, the folder you want to create is invalid.");
    return false;
}

bool FileExists(const std::u16string& fileName) {
    const DWORD a = Attributes(fileName);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileIsLocked(const std::u16string& fileName) {
    if (!FileExists(fileName))
        throw Error(u"File does not exist!\r\n" + fileName);
    UniqueHFile h(CreateFileW(W(fileName), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return !h;
}

FileVersion WriteTextFile(const std::u16string& fileName, std::u16string_view text, bool overwrite,
                          bool withBOM) {
    const std::u16string folder = FolderOf(fileName, true);
    if (folder.empty())
        throw Error(u"Cannot write the file: a full path with a valid folder is needed.\r\n" +
                    fileName);
    EnsureFolder(folder);
    if (overwrite || !FileExists(fileName))
        return *ReplaceFileWith(fileName, folder, text, withBOM);
    AppendToFile(fileName, text);
    return {};
}

std::optional<FileVersion> ReplaceTextFileIf(const std::u16string& fileName,
                                             std::u16string_view text, bool withBOM,
                                             const FileStamp& expected,
                                             std::optional<MissedVersion>* missed) {
    const std::u16string folder = FolderOf(fileName, true);
    if (folder.empty())
        throw Error(u"Cannot write the file: a full path with a valid folder is needed.\r\n" +
                    fileName);
    EnsureFolder(folder);
    if (missed)
        missed->reset();
    return ReplaceFileWith(fileName, folder, text, withBOM, &expected, missed);
}

FileStamp QueryFileStamp(const std::u16string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(W(fileName), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {true, (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
            FileTimeValue(data.ftLastWriteTime)};
}

std::u16string ReadTextFile(const std::u16string& fileName, FileVersion* version) {
    const std::u16string full = FullPathOf(fileName);
    ValidatePath(fileName, full, 260);
    const std::u16string folder = DirectoryName(full);
    if (!folder.empty() && Attributes(folder) == INVALID_FILE_ATTRIBUTES)
        throw Error(u"The specified path was not found");
    UniqueHFile h(CreateFileW(W(fileName), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h)
        RaiseFileError(u"Cannot open file", fileName, GetLastError());
    // No other program writes while the file is open unshared: this stamp is these bytes'.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info))
        RaiseFileError(u"Cannot read file", fileName, GetLastError());
    const uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() + 65536); // the file grew meanwhile
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - got, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(h.Get(), bytes.data() + got, want, &read, nullptr))
            RaiseFileError(u"Cannot read file", fileName, GetLastError());
        if (read == 0)
            break;
        got += read;
    }
    bytes.resize(got);
    h.Reset();
    if (version)
        *version = {{true, got, FileTimeValue(info.ftLastWriteTime)}, HashBytes(bytes)};
    std::u16string text = DecodeText(bytes, DecodeAnsi);
    ReplaceCharInPlace(text, u'\0', kNulSubstitute);
    return text;
}

namespace {

// Whether the process runs this very program: a temporary file it owns may be in use.
bool RunsThisProgram(DWORD processId) {
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return false;
    std::vector<wchar_t> image(32768);
    DWORD size = static_cast<DWORD>(image.size());
    const bool named = QueryFullProcessImageNameW(process.Get(), 0, image.data(), &size) != 0;
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process.Get(), &exitCode) && exitCode == STILL_ACTIVE;
    if (!running)
        return false;
    // Without its name the process may well be ours: keep the file.
    if (!named)
        return true;
    std::vector<wchar_t> own(32768);
    const DWORD n = GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size()));
    const std::u16string a = U(image.data(), size), b = U(own.data(), n);
    return CompareStringOrdinal(W(a), static_cast<int>(a.size()), W(b), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

int RemoveLeftoverTempFiles(const std::u16string& folder) {
    const std::u16string dir = WithTrailingDelimiter(folder);
    WIN32_FIND_DATAW fd;
    const UniqueHFind find(FindFirstFileW(W(dir + u"~vp*.tmp"), &fd));
    if (!find)
        return 0;
    std::vector<std::u16string> leftovers;
    do {
        const std::u16string name = U(fd.cFileName);
        const auto owner = TempFileProcess(name);
        if (owner && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (*owner == GetCurrentProcessId() || !RunsThisProgram(*owner)))
            leftovers.push_back(dir + name);
    } while (FindNextFileW(find.Get(), &fd));
    int removed = 0;
    for (const auto& path : leftovers)
        if (DeleteFileW(W(path)))
            ++removed;
    return removed;
}

bool DriveIsReady(const std::u16string& root) {
    if (root.empty())
        return false;
    const UINT type = GetDriveTypeW(W(WithTrailingDelimiter(root)));
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR)
        return false;
    if (type == DRIVE_REMOTE)
        return true;
    const char16_t letter = UpCaseAscii(root[0]);
    if (letter < u'A' || letter > u'Z')
        return false;
    const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
    // No "insert a disk" box for an empty removable drive.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    ULARGE_INTEGER total{};
    const BOOL known = GetDiskFreeSpaceExW(drive, nullptr, &total, nullptr);
    SetErrorMode(previous);
    return known != 0;
}

} // namespace vp
