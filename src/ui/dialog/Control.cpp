#include "Control.h"

namespace ui {

void Control::Attach(HWND window) {
    if (window_ == window) return;
    window_ = window;
    if (window_) OnAttach();
}

void Control::Enable(bool enabled) const { EnableWindow(window_, enabled ? TRUE : FALSE); }

void Control::SetText(const std::string& text) const { SetWindowTextA(window_, text.c_str()); }

LRESULT Control::Send(UINT message, WPARAM w, LPARAM l) const {
    return SendMessageA(window_, message, w, l);
}

}  // namespace ui
