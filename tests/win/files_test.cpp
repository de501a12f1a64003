#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "core/temp_files.h"
#include "failing_allocator.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "test_support.h"

using namespace vp;
using namespace std::string_literals;
using test::ReadBytes;
using test::RemoveTree;
using test::WriteBytes;

namespace {

// Names of the entries of a folder, sorted by the system.
std::u16string ListFolder(const std::u16string& folder) {
    std::u16string names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(W(folder + u"*"), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::u16string name = U(fd.cFileName);
        if (name != u"." && name != u"..")
            names += name + u";";
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

std::u16string MessageOfCall(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.Message();
    }
    return u"<no error>";
}

// A drive letter that names no drive.
std::u16string MissingDrive() {
    const DWORD drives = GetLogicalDrives();
    for (char16_t c = u'Y'; c > u'D'; --c)
        if (!(drives & (1u << (c - u'A'))))
            return std::u16string(1, c) + u":\\";
    return {};
}

class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        AppName = kProgramName;
        dir = test::NewTempFolder(u"vp_files_");
        ASSERT_TRUE(CreateDirectoryW(W(dir), nullptr));
    }
    void TearDown() override { RemoveTree(dir); }
    std::u16string dir;
};

} // namespace

TEST_F(Files, WriteCreatesOverwritesAndAppendsWithTheMarkOnlyAtCreation) {
    const std::u16string f = dir + u"sub\\deeper\\a.txt"; // missing folders are made
    WriteTextFile(f, u"a\u00E9", false, true);
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBF"
                            "a\xC3\xA9");
    WriteTextFile(f, u"\r\nb", false, true); // appending never adds a mark
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBF"
                            "a\xC3\xA9\r\nb");
    WriteTextFile(f, u"c", true, false);
    EXPECT_EQ(ReadBytes(f), "c");
    WriteTextFile(f, u"d", true, true);
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBF"
                            "d");
    WriteTextFile(f, u"e", false, false);
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBF"
                            "de");
    const std::u16string g = dir + u"new.txt";
    WriteTextFile(g, u"", false, false);
    EXPECT_EQ(ReadBytes(g), "");
    EXPECT_EQ(ListFolder(dir + u"sub\\deeper\\"), u"a.txt;"); // no temporary file left
}

TEST_F(Files, ReadDetectsTheMarkAndDropsIt) {
    struct Case {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a\xC3\xA9"s,
         u"a\u00E9"},
        {"\xFF\xFE"
         "a\0\xE9\0\x3D\xD8\x00\xDE"s,
         u"a\u00E9\U0001F600"},
        {"\xFE\xFF"
         "\0a\0\xE9"s,
         u"a\u00E9"},
        {"\xFF\xFE"
         "a"s,
         u"\uFFFD"},                                    // odd byte count
        {"plain\r\n\xE2\x82\xAC"s, u"plain\r\n\u20AC"}, // unmarked valid UTF-8
        // A NUL would end the text in every edit control: it shows as a symbol instead.
        {"x\0y\0"s, u"x\u2400y\u2400"},
        {"\xFF\xFE"
         "x\0\0\0y\0"s,
         u"x\u2400y"},
        {""s, u""},
    };
    for (const Case& c : cases) {
        WriteBytes(dir + u"r.txt", c.bytes);
        EXPECT_EQ(ReadTextFile(dir + u"r.txt"), c.text) << c.bytes;
    }
}

TEST_F(Files, UnmarkedBytesThatAreNotUtf8AreReadInTheAnsiCodePage) {
    WriteBytes(dir + u"ansi.txt", "caf\xE9 \x80");
    wchar_t expected[16] = {};
    const int n = MultiByteToWideChar(CP_ACP, 0, "caf\xE9 \x80", 6, expected, 16);
    EXPECT_EQ(ReadTextFile(dir + u"ansi.txt"), U(expected, n));
    if (GetACP() == 1252) {
        EXPECT_EQ(ReadTextFile(dir + u"ansi.txt"), u"caf\u00E9 \u20AC");
    }
}

TEST_F(Files, LargeFileRoundTrips) {
    std::u16string text;
    text.reserve(24u << 20);
    while (text.size() < (24u << 20))
        text += u"line \u00E9\u4E2D\U0001F600 of text\r\n";
    WriteTextFile(dir + u"big.txt", text, true, true);
    EXPECT_EQ(ReadTextFile(dir + u"big.txt"), text);
}

// Big texts are encoded a piece at a time; the bytes must be those of the whole text, with
// surrogate pairs falling on every kind of piece boundary.
TEST_F(Files, BigTextsAreWrittenByteForByte) {
    const std::u16string f = dir + u"pairs.txt";
    for (const std::u16string prefix : {u"", u"a"}) {
        std::u16string text = prefix;
        while (text.size() < 1'500'000)
            text += u"\U0001F600";
        text += u"\xD800"; // a lone half at the very end stays one U+FFFD
        WriteTextFile(f, text, true, true);
        const std::string whole = EncodeText(text, true);
        EXPECT_TRUE(ReadBytes(f) == whole);
        WriteTextFile(f, text, false, false);
        EXPECT_TRUE(ReadBytes(f) == whole + EncodeText(text, false));
    }
    EXPECT_EQ(ListFolder(dir), u"pairs.txt;");
}

TEST_F(Files, ReadRaisesThePathErrors) {
    EXPECT_EQ(MessageOfCall([&] { ReadTextFile(dir + u"a|b.txt"); }),
              u"Invalid characters in path");
    EXPECT_EQ(MessageOfCall([&] { ReadTextFile(u"   "); }), u"Invalid characters in path");
    EXPECT_EQ(MessageOfCall([&] { ReadTextFile(dir + u"a:b.txt"); }),
              u"The path format is not supported");
    EXPECT_EQ(MessageOfCall([&] { ReadTextFile(dir + std::u16string(300, u'x')); }),
              u"The specified path is too long");
    EXPECT_EQ(MessageOfCall([&] { ReadTextFile(dir + u"nofolder\\a.txt"); }),
              u"The specified path was not found");
    const std::u16string missing = MessageOfCall([&] { ReadTextFile(dir + u"none.txt"); });
    EXPECT_NE(missing.find(dir + u"none.txt"), std::u16string::npos)
        << std::string(missing.begin(), missing.end());
}

TEST_F(Files, WriteRejectsANameWithoutAValidFolder) {
    for (const std::u16string name : {u"bare.txt", u"C:\\a?b\\c.txt"}) {
        const std::u16string m = MessageOfCall([&] { WriteTextFile(name, u"x", true, false); });
        EXPECT_NE(m.find(name), std::u16string::npos);
    }
    EXPECT_FALSE(FileExists(u"bare.txt"));
}

TEST_F(Files, FailedOverwriteKeepsTheOldFileWhole) {
    const std::u16string f = dir + u"held.txt";
    WriteTextFile(f, u"old content", true, false);
    HANDLE h = CreateFileW(W(f), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_THROW(WriteTextFile(f, u"new", true, false), Error);
    CloseHandle(h);
    EXPECT_EQ(ReadBytes(f), "old content");
    EXPECT_EQ(ListFolder(dir), u"held.txt;");
    WriteTextFile(f, u"new", true, false); // released: the replace goes through
    EXPECT_EQ(ReadBytes(f), "new");
}

TEST_F(Files, OverwriteReplacesTheFileInsteadOfWritingIntoIt) {
    const std::u16string f = dir + u"cat.txt", link = dir + u"link.txt";
    WriteTextFile(f, u"old", true, false);
    // A hard link shares the bytes of the file it was taken of until that file is replaced:
    // a save in place would change them under both names.
    ASSERT_TRUE(CreateHardLinkW(W(link), W(f), nullptr));
    WriteTextFile(f, u"new", true, true);
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBFnew");
    EXPECT_EQ(ReadBytes(link), "old");
}

TEST_F(Files, ReadOnlyFileIsNotReplaced) {
    const std::u16string f = dir + u"locked.txt";
    WriteTextFile(f, u"kept", true, false);
    ASSERT_TRUE(SetFileAttributesW(W(f), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(WriteTextFile(f, u"lost?", true, true), Error);
    SetFileAttributesW(W(f), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(f), "kept");
    EXPECT_EQ(ListFolder(dir), u"locked.txt;");
}

TEST_F(Files, FileIsLockedWhileAnotherHandleHoldsIt) {
    const std::u16string f = dir + u"lock.txt";
    EXPECT_EQ(MessageOfCall([&] { FileIsLocked(f); }), u"File does not exist!\r\n" + f);
    WriteTextFile(f, u"x", true, false);
    EXPECT_FALSE(FileIsLocked(f));
    HANDLE h = CreateFileW(W(f), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileIsLocked(f));
    CloseHandle(h);
    EXPECT_FALSE(FileIsLocked(f));
}

TEST_F(Files, EnsureFolderReportsCreatedExistingAndFailed) {
    EXPECT_EQ(EnsureFolder(dir + u"x\\y\\z"), 1);
    EXPECT_TRUE(FolderExists(dir + u"x\\y\\z\\"));
    EXPECT_EQ(EnsureFolder(dir + u"x\\y\\z\\"), 0);
    WriteTextFile(dir + u"file", u"", true, false);
    EXPECT_EQ(EnsureFolder(dir + u"file\\under"), -1); // a file stands in the way
    EXPECT_THROW(EnsureFolder(u""), AssertionFailure);
    EXPECT_EQ(MessageOfCall([&] { EnsureFolder(dir + u"a<b"); }), u"Invalid characters in path");
    EXPECT_EQ(MessageOfCall([&] { EnsureFolder(dir + u"a:b"); }),
              u"The path format is not supported");
    EXPECT_EQ(MessageOfCall([&] { EnsureFolder(dir + std::u16string(250, u'x')); }),
              u"The specified path is too long");
    const std::u16string drive = MissingDrive();
    ASSERT_FALSE(drive.empty());
    EXPECT_EQ(MessageOfCall([&] { EnsureFolder(drive + u"new"); }), u"The drive cannot be found");
}

TEST_F(Files, FolderExistsRules) {
    EXPECT_TRUE(FolderExists(dir));
    EXPECT_TRUE(FolderExists(dir.substr(0, dir.size() - 1)));
    EXPECT_FALSE(FolderExists(dir + u" "));
    EXPECT_FALSE(FolderExists(u""));
    WriteTextFile(dir + u"f.txt", u"", true, false);
    EXPECT_FALSE(FolderExists(dir + u"f.txt"));
    EXPECT_EQ(FolderOf(dir + u"f.txt", false), dir);
    EXPECT_EQ(FolderOf(u"a?b", true), u"");
    EXPECT_EQ(MessageOfCall([] { FolderOf(u"a?b", false); }), u"The path is invalid!\r\na?b");
}

TEST_F(Files, MessagesOfTheMsgVariants) {
    test::CaptureEffects fx;
    EXPECT_TRUE(FolderExistsMsg(dir));
    EXPECT_FALSE(FolderExistsMsg(u""));
    EXPECT_FALSE(FolderExistsMsg(dir + u"missing"));
    EXPECT_FALSE(FolderExistsMsg(u"relative\\folder"));
    WriteTextFile(dir + u"file", u"", true, false);
    EXPECT_TRUE(EnsureFolderMsg(dir + u"made"));
    EXPECT_FALSE(EnsureFolderMsg(dir + u"file\\under"));
    ASSERT_EQ(fx.boxes.size(), 4u);
    EXPECT_EQ(fx.boxes[0].text, u"No folder specified!");
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill");
    EXPECT_EQ(fx.boxes[0].flags, static_cast<unsigned>(MB_ICONINFORMATION));
    EXPECT_EQ(fx.boxes[1].text, u"Folder does not exist:\r\n" + dir + u"missing");
    EXPECT_EQ(fx.boxes[1].caption, u"Velmor Pasquill - Error");
    EXPECT_EQ(fx.boxes[2].text,
              u"A relative path was provided instead of a full path!\r\nrelative\\folder");
    EXPECT_EQ(fx.boxes[3].text,
              u"Cannot create folder: " + dir +
                  u"file\\under\r\nProbably you are trying to write to a folder to which you "
                  u"don't have write permissions, or, the folder you want to create is invalid.");
    EXPECT_EQ(fx.boxes[3].flags, static_cast<unsigned>(MB_ICONERROR));
}

TEST_F(Files, DriveIsReady) {
    EXPECT_TRUE(DriveIsReady(u"C:\\"));
    EXPECT_TRUE(DriveIsReady(u"c:"));
    EXPECT_FALSE(DriveIsReady(MissingDrive()));
    EXPECT_FALSE(DriveIsReady(u""));
}

TEST_F(Files, DataFolderAndFirstRun) {
    const std::u16string data = DataFolder();
    EXPECT_EQ(data, SpecialFolder(CSIDL_APPDATA, false) + u"Velmor Pasquill\\");
    EXPECT_EQ(IniFilePath(), data + u"Velmor Pasquill.ini");
    AppName = u"? Empty AppName";
    try {
        DataFolder();
        ADD_FAILURE() << "no assertion";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Unit(), u"cIO");
        EXPECT_EQ(e.Detail(), u"Invalid chars in AppName: ? Empty AppName");
    }
    // A name of its own, so that the program's real files are never touched.
    wchar_t name[64];
    swprintf(name, 64, L"VP first run %lu", GetCurrentProcessId());
    AppName = U(name);
    const std::u16string folder = DataFolder();
    RemoveTree(folder);
    EXPECT_TRUE(IsFirstRun()); // folder missing
    ASSERT_EQ(EnsureFolder(folder), 1);
    EXPECT_TRUE(IsFirstRun()); // folder without the INI file
    WriteTextFile(IniFilePath(), u"[QRT/Soft]\r\n", true, false);
    EXPECT_FALSE(IsFirstRun());
    DeleteFileW(W(IniFilePath()));
    EXPECT_TRUE(IsFirstRun());
    RemoveTree(folder);
}

TEST_F(Files, SystemFolders) {
    for (const std::u16string& f : {DocumentsFolder(), DesktopFolder(), StartMenuFolder(),
                                    AppFolder(), SpecialFolder(CSIDL_APPDATA, false)}) {
        ASSERT_FALSE(f.empty());
        EXPECT_EQ(f.back(), u'\\');
        EXPECT_TRUE(FolderExists(f)) << std::string(f.begin(), f.end());
        EXPECT_EQ(f.find(u'\0'), std::u16string::npos);
    }
    const std::u16string exe = ExecutablePath();
    EXPECT_EQ(AppFolder(), exe.substr(0, exe.rfind(u'\\') + 1));
}

namespace {

// How many handles this process holds, from the system's handle table (Wine's
// GetProcessHandleCount answers 0).
size_t OwnHandleCount() {
    struct Entry {
        USHORT process, creatorBackTrace;
        UCHAR type, attributes;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004)) { // the buffer is too small
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
            continue;
        }
        if (status < 0)
            return 0;
        break;
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    size_t own = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].process == static_cast<USHORT>(GetCurrentProcessId()))
            ++own;
    return own;
}

// A process that exists but never runs: CREATE_SUSPENDED, ended by the destructor.
struct SuspendedProcess {
    PROCESS_INFORMATION pi{};
    explicit SuspendedProcess(const std::u16string& exe) {
        std::u16string command = u"\"" + exe + u"\"";
        STARTUPINFOW si{sizeof(si)};
        CreateProcessW(W(exe), const_cast<wchar_t*>(W(command)), nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED, nullptr, nullptr, &si, &pi);
    }
    ~SuspendedProcess() {
        if (pi.hProcess) {
            TerminateProcess(pi.hProcess, 0);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    }
};

} // namespace

TEST_F(Files, LeftoverTempFilesGoAndEverythingElseStays) {
    const SuspendedProcess same(ExecutablePath());
    const SuspendedProcess other(AppFolder() + u"vp_fixture_plain.exe");
    ASSERT_NE(same.pi.dwProcessId, 0u);
    ASSERT_NE(other.pi.dwProcessId, 0u);
    const std::u16string gone[] = {
        TempFileName(GetCurrentProcessId(), 7),
        TempFileName(other.pi.dwProcessId, 1), // that process runs another program
        TempFileName(0xFFFFFFF0u, 2),          // no such process
    };
    const std::u16string kept[] = {
        TempFileName(same.pi.dwProcessId, 3), // another copy of this program may be saving
        u"~vp1a-3.tmp.bak",
        u"x~vp1a-3.tmp",
        u"~vp01a-3.tmp",
        u"~vpzz-1.tmp",
        u"notes.tmp",
        u"Main category.txt",
    };
    for (const auto& name : gone)
        WriteBytes(dir + name, "partial");
    for (const auto& name : kept)
        WriteBytes(dir + name, "mine");
    ASSERT_TRUE(CreateDirectoryW(W(dir + TempFileName(0xFFFFFFF1u, 1)), nullptr));
    EXPECT_EQ(RemoveLeftoverTempFiles(dir), 3);
    for (const auto& name : gone)
        EXPECT_FALSE(FileExists(dir + name)) << ToUtf8(name);
    for (const auto& name : kept)
        EXPECT_EQ(ReadBytes(dir + name), "mine") << ToUtf8(name);
    EXPECT_TRUE(FolderExists(dir + TempFileName(0xFFFFFFF1u, 1)));
    EXPECT_EQ(RemoveLeftoverTempFiles(dir + u"missing\\"), 0);
}

TEST_F(Files, TheLeftoverScanHoldsNoHandleWhenAnAllocationFails) {
    const SuspendedProcess same(ExecutablePath());
    const SuspendedProcess other(AppFolder() + u"vp_fixture_plain.exe");
    ASSERT_NE(same.pi.dwProcessId, 0u);
    // Each entry takes another path: this process's, a running copy's, another program's.
    const std::u16string entries[] = {TempFileName(GetCurrentProcessId(), 1),
                                      TempFileName(same.pi.dwProcessId, 2),
                                      TempFileName(other.pi.dwProcessId, 3)};
    auto plant = [&] {
        for (const auto& name : entries)
            if (!FileExists(dir + name))
                WriteBytes(dir + name, "partial");
    };
    auto handles = [] { return OwnHandleCount(); };
    // A first round makes whatever is made once per process (the first exception thrown
    // sets up the unwinder): the second one counts.
    plant();
    test::EachAllocationFails([&] { RemoveLeftoverTempFiles(dir); }, plant);
    const size_t before = handles();
    ASSERT_GT(before, 0u);
    const int failures = test::EachAllocationFails([&] { RemoveLeftoverTempFiles(dir); },
                                                   [&] {
                                                       EXPECT_EQ(handles(), before);
                                                       plant();
                                                   });
    EXPECT_GT(failures, 2);
    EXPECT_TRUE(FileExists(dir + entries[1])) << "the running copy's file stays";
}

TEST_F(Files, EnsureFolderMakesFoldersOnANetworkShare) {
    // Wine serves \\server\share from the prefix's dosdevices\unc folder.
    wchar_t prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH))
        GTEST_SKIP() << "no Wine prefix to hold a share";
    const std::u16string unixPrefix = U(prefix);
    std::u16string share = u"Z:" + unixPrefix + u"/dosdevices/unc/vpserver/share";
    for (char16_t& c : share)
        if (c == u'/')
            c = u'\\';
    ASSERT_GE(EnsureFolder(share), 0);
    const std::u16string target = u"\\\\vpserver\\share\\made\\deeper\\";
    EXPECT_EQ(EnsureFolder(target), 1);
    EXPECT_TRUE(FolderExists(share + u"\\made\\deeper\\"));
    EXPECT_EQ(EnsureFolder(target), 0);
    test::CaptureEffects fx;
    EXPECT_TRUE(EnsureFolderMsg(u"\\\\vpserver\\share\\other"));
    EXPECT_TRUE(fx.boxes.empty());
    RemoveTree(share + u"\\");
}

TEST_F(Files, VersionsOfWritesAndReadsAgreeAndAChangedFileIsNotReplaced) {
    const std::u16string f = dir + u"cat.txt";
    EXPECT_FALSE(QueryFileStamp(f).exists);
    const FileVersion written = WriteTextFile(f, u"caf\u00e9\r\n", true, true);
    EXPECT_EQ(written.stamp, QueryFileStamp(f));
    EXPECT_EQ(written.stamp.size, 10u);
    EXPECT_EQ(written.hash, HashBytes("\xEF\xBB\xBF"
                                      "caf\xC3\xA9\r\n"));
    FileVersion read;
    EXPECT_EQ(ReadTextFile(f, &read), u"caf\u00e9\r\n");
    EXPECT_EQ(read.stamp, written.stamp);
    EXPECT_EQ(read.hash, written.hash);
    EXPECT_FALSE(QueryFileStamp(dir).exists) << "a folder is no file";

    // Another program appends: the stamp no longer matches, and the replace backs off.
    WriteBytes(f, ReadBytes(f) + "outside\r\n");
    EXPECT_FALSE(ReplaceTextFileIf(f, u"pad", true, written.stamp));
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBF"
                            "caf\xC3\xA9\r\noutside\r\n");
    EXPECT_EQ(ListFolder(dir), u"cat.txt;") << "no temporary file left";
    const auto again = ReplaceTextFileIf(f, u"pad", true, QueryFileStamp(f));
    ASSERT_TRUE(again);
    EXPECT_EQ(ReadBytes(f), "\xEF\xBB\xBFpad");
    EXPECT_EQ(again->stamp, QueryFileStamp(f));
    // A file expected missing that has appeared meanwhile is not replaced either.
    const std::u16string g = dir + u"new.txt";
    WriteBytes(g, "made elsewhere");
    EXPECT_FALSE(ReplaceTextFileIf(g, u"pad", true, FileStamp{}));
    EXPECT_EQ(ReadBytes(g), "made elsewhere");
}
