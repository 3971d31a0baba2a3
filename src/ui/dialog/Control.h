#pragma once
// Thin wrappers of the dialog's child windows: a handle and the few calls the
// dialogs make on it.
#include <windows.h>

#include <string>

namespace ui {

class Control {
public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Binds the wrapper to its window; later calls with the same window do
    // nothing, so the data exchange may attach on every run.
    void Attach(HWND window);
    HWND Handle() const { return window_; }

    void Enable(bool enabled) const;
    void SetText(const std::string& text) const;
    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const;

protected:
    // Called once, when the wrapper is bound to its window.
    virtual void OnAttach() {}

private:
    HWND window_ = nullptr;
};

}  // namespace ui
