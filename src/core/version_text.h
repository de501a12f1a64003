#pragma once
// Version numbers as the caption, About tab and news checker show them.
#include <cstdint>
#include <optional>
#include <string>

namespace vp {

struct FileVersion {
    uint32_t ms = 0; // major << 16 | minor
    uint32_t ls = 0; // release << 16 | build
};

std::u16string VersionFullText(const std::optional<FileVersion>& v);
std::u16string VersionShortText(const std::optional<FileVersion>& v);
std::u16string VersionLabelText(const std::optional<FileVersion>& v);

} // namespace vp
