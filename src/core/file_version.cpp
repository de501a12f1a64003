#include "core/file_version.h"

namespace vp {

uint64_t HashBytes(std::string_view bytes, uint64_t hash) {
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

StampCheck CompareStamp(const FileStamp& known, const FileStamp& now) {
    if (now == known)
        return StampCheck::Unchanged;
    if (!now.exists)
        return StampCheck::Gone;
    return StampCheck::Differs;
}

bool SameBytes(const FileVersion& known, const FileVersion& read) {
    // A file that appeared where none was known is a version never seen, whatever it holds.
    return known.stamp.exists && read.stamp.exists && known.stamp.size == read.stamp.size &&
           known.hash == read.hash;
}

} // namespace vp
