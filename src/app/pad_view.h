#pragma once
// Shared by the capture and the saves of the main window; not for other units.
#include "app/main_form.h"

namespace vp {

// The pad's text without a copy: the edit control's own buffer, locked for reading.
// Released before the pad changes, since the control may then move its buffer.
class TMainForm::PadView {
  public:
    explicit PadView(ui::TMemo& memo) {
        const size_t length = memo.TextLength();
        handle_ = reinterpret_cast<HLOCAL>(SendMessageW(memo.Handle(), EM_GETHANDLE, 0, 0));
        if (handle_)
            data_ = static_cast<const char16_t*>(LocalLock(handle_));
        if (data_) {
            view_ = {data_, length};
        } else {
            copy_ = memo.Text();
            view_ = copy_;
        }
    }
    ~PadView() { Release(); }
    PadView(const PadView&) = delete;
    PadView& operator=(const PadView&) = delete;
    std::u16string_view View() const { return view_; }
    void Release() {
        if (data_)
            LocalUnlock(handle_);
        data_ = nullptr;
        view_ = {};
    }

  private:
    HLOCAL handle_ = nullptr;
    const char16_t* data_ = nullptr;
    std::u16string copy_;
    std::u16string_view view_;
};

} // namespace vp
