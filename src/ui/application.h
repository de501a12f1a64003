#pragma once
// The program's own hidden window and the one-instance-per-logon lock. The window carries
// the bare application name as its title, so a second start can find it (the main window's
// caption has the version appended) and show it; this window answers by handing the
// request on, and the main window comes to the front.
#include <functional>
#include <string>

#include "platform/unique_handle.h"
#include "ui/window.h"

namespace vp::ui {

class TApplication : public Window {
  public:
    explicit TApplication(const std::u16string& title);
    std::u16string Title() const { return Text(); }
    void SetTitle(const std::u16string& title) { SetText(title); }
    // Another start of the program asked to be shown.
    std::function<void()> OnShowRequest;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The named mutex that one running instance owns until its message loop ends.
class SingleInstanceLock {
  public:
    explicit SingleInstanceLock(const std::u16string& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // False when the mutex could not be made or another instance holds the name.
    bool Acquired() const { return acquired_; }

  private:
    UniqueKernelHandle mutex_;
    bool acquired_ = false;
};

// Shows the running instance's application window; false when there is none.
bool ShowRunningInstance(const std::u16string& title);

} // namespace vp::ui
