#pragma once
// Regional settings, read once when the program starts and then kept.
#include <string>

namespace vp {

// Reads the regional settings now; the program entry calls it once.
void FreezeRegionalSettings();
// The date separator of the user's regional settings ("/" if they give none); read on
// first use when FreezeRegionalSettings was not called.
const std::u16string& RegionalDateSeparator();

} // namespace vp
