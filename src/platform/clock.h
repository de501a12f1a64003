#pragma once
// The local clock and the process-wide pseudo-random generator.

namespace vp {

// The local date-time now, in days since 1899-12-30 (hooks::Now when set).
double NowDateTime();

// Seeds the generator from the clock; the program entry calls it once.
void RandomizeFromClock();
// A uniform integer in 0..range-1 (hooks::Random when set). range must be positive.
int RandomInt(int range);

} // namespace vp
