#pragma once
// File and folder helpers: folders and whole text files.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_version.h"

namespace vp {

// The folder part with its trailing "\"; "" for a bare name. A rejected path gives "" when
// silent and raises "The path is invalid!" otherwise.
std::u16string FolderOf(const std::u16string& path, bool silent);
bool FolderExists(const std::u16string& path);
bool FolderExistsMsg(const std::u16string& path);
// -1 failed, 0 existed, 1 created.
int EnsureFolder(const std::u16string& path);
bool EnsureFolderMsg(const std::u16string& path);
bool FileExists(const std::u16string& fileName);
bool FileIsLocked(const std::u16string& fileName);
// Writes text as UTF-8. With overwrite (or when the file is new) the file is replaced as a
// whole, atomically, with the mark EF BB BF first when withBOM; otherwise text is appended.
// Returns the version a replace wrote (nothing known after an append).
FileVersion WriteTextFile(const std::u16string& fileName, std::u16string_view text, bool overwrite,
                          bool withBOM);
// The whole file as text. A NUL becomes kNulSubstitute: every edit control ends its text
// at a NUL, so the next save would cut the file there. version, when given, gets the
// version of the bytes read.
std::u16string ReadTextFile(const std::u16string& fileName, FileVersion* version = nullptr);
// As WriteTextFile with overwrite, unless the file's stamp is no longer the one expected
// once the new text is ready to go over it: then the file stays as it is, and nothing comes
// back.
// missed, when given, gets the version the move replaced if another program changed it in
// that moment (in place, or through a handle it opened before the move); it is gone from
// the file, which holds the new text.
struct MissedVersion {
    std::u16string text;
    FileVersion version;
};
std::optional<FileVersion> ReplaceTextFileIf(const std::u16string& fileName,
                                             std::u16string_view text, bool withBOM,
                                             const FileStamp& expected,
                                             std::optional<MissedVersion>* missed = nullptr);
// One attribute query; a missing file (or a folder) does not exist.
FileStamp QueryFileStamp(const std::u16string& fileName);
namespace hooks {
// Runs between the last look at a file and the move of its new version over it.
extern std::function<void(const std::u16string& fileName)> FileReplacing;
} // namespace hooks
inline constexpr char16_t kNulSubstitute = u'\u2400'; // the symbol for NUL
// Deletes what a save interrupted by a crash left in the folder: files named exactly as
// the saves name their temporary files, unless another process that still runs this
// program made it. Returns how many went; an entry that cannot be deleted stays.
int RemoveLeftoverTempFiles(const std::u16string& folder);
bool DriveIsReady(const std::u16string& root);

} // namespace vp
