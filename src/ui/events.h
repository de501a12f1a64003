#pragma once
// Raising and muting the std::function events of the controls.
//
//     Raise(OnClick);                      // copy, then call: a handler may reassign it
//     { MuteEvent quiet(chk.OnClick); chk.SetChecked(true); } // no click raised
#include <utility>

namespace vp::ui {

// Calls the event's handler, if any, through a copy: the handler may clear or replace
// the event, or free the object that holds it, while it runs.
template <class Event, class... Args> void Raise(const Event& event, Args&&... args) {
    if (!event)
        return;
    auto handler = event;
    handler(std::forward<Args>(args)...);
}

// Clears an event for the life of the scope and gives the handler back when it ends,
// even when an exception ends it.
template <class Event> class [[nodiscard]] MuteEvent {
  public:
    explicit MuteEvent(Event& event) : event_(event), saved_(std::move(event)) { event_ = nullptr; }
    MuteEvent(const MuteEvent&) = delete;
    MuteEvent& operator=(const MuteEvent&) = delete;
    ~MuteEvent() { event_ = std::move(saved_); }

  private:
    Event& event_;
    Event saved_;
};

} // namespace vp::ui
