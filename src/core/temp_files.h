#pragma once
// Names of the temporary files that a save writes beside its target before it moves them
// over it: "~vp" + process id + "-" + serial + ".tmp", both numbers in lower-case hex.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vp {

std::u16string TempFileName(uint32_t processId, uint32_t serial);
// The process id of a name of exactly that form; nothing for every other name.
std::optional<uint32_t> TempFileProcess(std::u16string_view name);

} // namespace vp
