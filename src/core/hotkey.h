#pragma once
// Hotkey codes between the three forms the program meets:
// - the shortcut code kept in the settings: low byte the virtual key, 0x2000 Shift,
//   0x4000 Ctrl, 0x8000 Alt (16504 is Ctrl+F9);
// - the hotkey control's value: low byte the key, high byte HOTKEYF_* flags;
// - RegisterHotKey's MOD_* modifiers and virtual key.
#include <cstdint>

namespace vp {

inline constexpr uint16_t kShortCutShift = 0x2000;
inline constexpr uint16_t kShortCutCtrl = 0x4000;
inline constexpr uint16_t kShortCutAlt = 0x8000;
inline constexpr uint16_t kDefaultMonitorShortCut = kShortCutCtrl | 0x78; // Ctrl+F9

inline constexpr uint8_t kHotKeyFlagShift = 0x01; // HOTKEYF_SHIFT
inline constexpr uint8_t kHotKeyFlagCtrl = 0x02;  // HOTKEYF_CONTROL
inline constexpr uint8_t kHotKeyFlagAlt = 0x04;   // HOTKEYF_ALT
inline constexpr uint8_t kHotKeyFlagExt = 0x08;   // HOTKEYF_EXT

inline constexpr unsigned kModAlt = 0x1;     // MOD_ALT
inline constexpr unsigned kModControl = 0x2; // MOD_CONTROL
inline constexpr unsigned kModShift = 0x4;   // MOD_SHIFT

struct HotKeyRegistration {
    unsigned modifiers; // MOD_* flags
    unsigned key;       // virtual key; 0 means no hotkey at all
    bool operator==(const HotKeyRegistration&) const = default;
};

HotKeyRegistration ShortCutToRegistration(uint16_t shortCut);
// The control's extended-key flag has no place in a shortcut and is dropped.
uint16_t HotKeyValueToShortCut(uint16_t hotKeyValue);
// Keys of the extended keyboard get HOTKEYF_EXT, so the control names them right.
uint16_t ShortCutToHotKeyValue(uint16_t shortCut);

} // namespace vp
