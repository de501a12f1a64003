#include <gtest/gtest.h>

#include "core/hotkey.h"

using namespace vp;

TEST(HotKey, ShortCutGivesRegisterHotKeyArguments) {
    struct Case {
        uint16_t shortCut;
        HotKeyRegistration reg;
    };
    const Case cases[] = {
        {16504, {kModControl, 0x78}}, // the default Ctrl+F9
        {0x2000 | 'A', {kModShift, 'A'}},
        {0x8000 | 0x70, {kModAlt, 0x70}},
        {0xE000 | 'Z', {kModShift | kModControl | kModAlt, 'Z'}},
        {0x1000 | 'Q', {0, 'Q'}}, // an unknown bit is not a modifier
        {0, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortCutToRegistration(c.shortCut), c.reg) << c.shortCut;
}

TEST(HotKey, ControlValueAndShortCutConvertBothWays) {
    struct Case {
        uint16_t control, shortCut;
    };
    const Case cases[] = {
        {0x0278, 16504},                    // HOTKEYF_CONTROL + F9
        {0x0141, 0x2041},                   // Shift+A
        {0x0770, 0xE070},                   // Ctrl+Alt+Shift+F1
        {0x0000, 0x0000}, {0x0A2E, 0x402E}, // Ctrl+Delete carries the extended-key flag
        {0x0826, 0x0026},                   // Up arrow alone
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HotKeyValueToShortCut(c.control), c.shortCut) << c.control;
        EXPECT_EQ(ShortCutToHotKeyValue(c.shortCut), c.control) << c.shortCut;
    }
    // The extended flag alone never reaches the shortcut.
    EXPECT_EQ(HotKeyValueToShortCut(0x0878), 0x0078);
}
