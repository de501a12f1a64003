#include "platform/hooks.h"

namespace vp::hooks {

NowFn Now;
RandomFn Random;
OpenWebPageFn OpenWebPage;

} // namespace vp::hooks
