#pragma once
// The wait cursor over all of the program's windows while a long piece of work holds the
// interface thread, so a busy window shows a sign of life; the earlier cursor comes back at
// the end. Guards nest: the outermost one ends the wait.
//   { ui::BusyCursor busy; LongWork(); }
#include <windows.h>

#include "platform/shell.h"

namespace vp::ui {

class BusyCursor {
  public:
    BusyCursor() : outermost_(!BusyCursorShown()), previous_(GetCursor()) { BusyCursorOn(); }
    ~BusyCursor() {
        if (!outermost_)
            return;
        BusyCursorOff();
        SetCursor(previous_);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool outermost_;
    HCURSOR previous_;
};

} // namespace vp::ui
