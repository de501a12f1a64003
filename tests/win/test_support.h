#pragma once
// Captures what would have been shown or sounded, for the life of one test.
#include <string>
#include <vector>

#include "platform/hooks.h"

namespace vp::test {

struct ShownBox {
    std::u16string text, caption;
    unsigned flags;
};

struct Tone {
    unsigned frequency, duration; // frequency 0: a silent pause
};

class CaptureEffects {
public:
    CaptureEffects() {
        hooks::MessageBox = [this](const std::u16string& t, const std::u16string& c, unsigned f) {
            boxes.push_back({t, c, f});
            return 1;
        };
        hooks::Beep = [this](unsigned f, unsigned d) { tones.push_back({f, d}); };
        hooks::Sleep = [this](unsigned ms) { tones.push_back({0, ms}); };
    }
    ~CaptureEffects() {
        hooks::MessageBox = nullptr;
        hooks::Beep = nullptr;
        hooks::Sleep = nullptr;
    }
    std::vector<ShownBox> boxes;
    std::vector<Tone> tones;
};

} // namespace vp::test
