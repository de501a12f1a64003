#include "core/app_name.h"

namespace vp {

std::u16string AppName = u"? Empty AppName";

} // namespace vp
