#pragma once
// Side effects that tests must see or steer go through these replaceable hooks.
// An empty hook means the real thing.
#include <functional>
#include <string>

namespace vp::hooks {

// Shows a message box; returns the button pressed.
using MessageBoxFn =
    std::function<int(const std::u16string& text, const std::u16string& caption, unsigned flags)>;
// Sounds one tone (blocking); also used for the silent pause inside the alarm.
using BeepFn = std::function<void(unsigned frequency, unsigned duration)>;
using SleepFn = std::function<void(unsigned milliseconds)>;

extern MessageBoxFn MessageBox;
extern BeepFn Beep;
extern SleepFn Sleep;

// The local date-time now, in days since 1899-12-30.
using NowFn = std::function<double()>;
// A uniform integer in 0..range-1 from the process-wide generator.
using RandomFn = std::function<int(int range)>;

extern NowFn Now;
extern RandomFn Random;
// Opening a web page is steered through hooks::ShellExec (platform/shell.h).
} // namespace vp::hooks
