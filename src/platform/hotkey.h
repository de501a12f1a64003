#pragma once
// The global hotkey that toggles monitoring, registered under the global atom
// "hotStartMonitor", whose value is also the hotkey's identifier.
#include <windows.h>

#include <cstdint>

namespace vp {

class MonitorHotKey {
  public:
    MonitorHotKey() = default;
    ~MonitorHotKey() { Unregister(); }
    MonitorHotKey(const MonitorHotKey&) = delete;
    MonitorHotKey& operator=(const MonitorHotKey&) = delete;

    // RegisterMonitorHotKey: adds the atom and registers the shortcut code (low byte
    // the key, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) for window. A combination that
    // another program holds simply never fires. A shortcut without a key registers
    // nothing. An earlier registration is undone first.
    void Register(HWND window, uint16_t shortCut);
    // UnregisterMonitorHotKey: unregisters and deletes the atom; nothing when not added.
    void Unregister();
    // HotMonitorID: the atom, 0 when none.
    ATOM Id() const { return atom_; }
    // Whether a WM_HOTKEY's wParam is this hotkey.
    bool IsHotKey(WPARAM id) const { return atom_ != 0 && id == atom_; }
    // Whether the last RegisterHotKey succeeded.
    bool IsRegistered() const { return registered_; }

  private:
    HWND window_ = nullptr;
    ATOM atom_ = 0;
    bool registered_ = false;
};

} // namespace vp
