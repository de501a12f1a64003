#pragma once
// Which version of a file the program last loaded or wrote, so that it never writes over a
// version it has not seen. A size or last-write time that differs is only a hint: the bytes
// decide, so another program that rewrites the same bytes changes nothing.
#include <cstdint>
#include <string_view>

namespace vp {

// What one attribute query tells about a file.
struct FileStamp {
    bool exists = false;
    uint64_t size = 0;
    uint64_t writeTime = 0; // in the file system's own units
    bool operator==(const FileStamp&) const = default;
};

struct FileVersion {
    FileStamp stamp;
    uint64_t hash = 0; // HashBytes of the whole file, its byte-order mark included
};

// FNV-1a, 64 bits; pieces hashed in turn give the hash of their concatenation.
inline constexpr uint64_t kHashSeed = 0xcbf29ce484222325ull;
uint64_t HashBytes(std::string_view bytes, uint64_t hash = kHashSeed);

enum class StampCheck {
    Unchanged, // as last seen: write
    Gone,      // was there, is not now: write it anew
    Differs,   // read it and compare the bytes
};
StampCheck CompareStamp(const FileStamp& known, const FileStamp& now);

// Whether the bytes read after a differing stamp are still the version last seen.
bool SameBytes(const FileVersion& known, const FileVersion& read);

enum class DiskChangeAction {
    Reload,           // the pad holds nothing of its own: take the file's text
    RecoverThenReload // the pad's text to a recovery file first, then the file's text
};
constexpr DiskChangeAction OnDiskChange(bool padEditedSinceLoad) {
    return padEditedSinceLoad ? DiskChangeAction::RecoverThenReload : DiskChangeAction::Reload;
}

} // namespace vp
