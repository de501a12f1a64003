#pragma once
// The wait cursor over the program's windows while a long piece of work holds the interface
// thread, so a busy window shows a sign of life; the earlier cursor comes back at the end.
//   { ui::BusyCursor busy; LongWork(); }
#include <windows.h>

namespace vp::ui {

class BusyCursor {
  public:
    BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    HCURSOR previous_;
};

} // namespace vp::ui
