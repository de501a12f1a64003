#pragma once
#include <string>

namespace vp {

// The process-wide application name; the program entry sets it before anything else.
extern std::u16string AppName;

inline constexpr char16_t kProgramName[] = u"Velmor Pasquill";

} // namespace vp
