#include "core/hotkey.h"

namespace vp {

namespace {

bool IsExtendedKey(unsigned vk) {
    return (vk >= 0x21 && vk <= 0x28)    // page up/down, end, home, arrows
           || vk == 0x2D || vk == 0x2E   // insert, delete
           || (vk >= 0x5B && vk <= 0x5D) // Windows keys, menu key
           || vk == 0x6F || vk == 0x90;  // numeric divide, num lock
}

} // namespace

HotKeyRegistration ShortCutToRegistration(uint16_t shortCut) {
    unsigned modifiers = 0;
    if (shortCut & kShortCutShift)
        modifiers |= kModShift;
    if (shortCut & kShortCutAlt)
        modifiers |= kModAlt;
    if (shortCut & kShortCutCtrl)
        modifiers |= kModControl;
    return {modifiers, shortCut & 0xFFu};
}

uint16_t HotKeyValueToShortCut(uint16_t hotKeyValue) {
    const unsigned flags = hotKeyValue >> 8;
    unsigned shortCut = hotKeyValue & 0xFFu;
    if (flags & kHotKeyFlagShift)
        shortCut |= kShortCutShift;
    if (flags & kHotKeyFlagCtrl)
        shortCut |= kShortCutCtrl;
    if (flags & kHotKeyFlagAlt)
        shortCut |= kShortCutAlt;
    return static_cast<uint16_t>(shortCut);
}

uint16_t ShortCutToHotKeyValue(uint16_t shortCut) {
    const unsigned key = shortCut & 0xFFu;
    unsigned flags = 0;
    if (shortCut & kShortCutShift)
        flags |= kHotKeyFlagShift;
    if (shortCut & kShortCutCtrl)
        flags |= kHotKeyFlagCtrl;
    if (shortCut & kShortCutAlt)
        flags |= kHotKeyFlagAlt;
    if (IsExtendedKey(key))
        flags |= kHotKeyFlagExt;
    return static_cast<uint16_t>(key | flags << 8);
}

} // namespace vp
