#include "platform/hotkey.h"

#include "core/hotkey.h"

namespace vp {

void MonitorHotKey::Register(HWND window, uint16_t shortCut) {
    Unregister();
    const HotKeyRegistration reg = ShortCutToRegistration(shortCut);
    window_ = window;
    atom_ = GlobalAddAtomW(L"hotStartMonitor");
    if (reg.key == 0)
        return; // a cleared hotkey box means no hotkey
    registered_ = RegisterHotKey(window, atom_, reg.modifiers, reg.key) != FALSE;
}

void MonitorHotKey::Unregister() {
    if (!atom_)
        return;
    UnregisterHotKey(window_, atom_);
    GlobalDeleteAtom(atom_);
    atom_ = 0;
    registered_ = false;
    window_ = nullptr;
}

} // namespace vp
