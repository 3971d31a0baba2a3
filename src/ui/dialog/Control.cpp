#include "Control.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace ui {

namespace {
// Where the stream callback reads next.
struct TextSource {
    const std::string* text;
    std::size_t next;
};

DWORD CALLBACK ReadTextSource(DWORD_PTR cookie, LPBYTE buffer, LONG room, LONG* given) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    const std::size_t count =
        std::min(static_cast<std::size_t>(room), source->text->size() - source->next);
    std::memcpy(buffer, source->text->data() + source->next, count);
    source->next += count;
    *given = static_cast<LONG>(count);
    return 0;
}
}  // namespace

void Control::Attach(HWND window) {
    if (window_ == window) return;
    window_ = window;
    if (window_) OnAttach();
}

void Control::Enable(bool enabled) const { EnableWindow(window_, enabled ? TRUE : FALSE); }

void Control::SetText(const std::string& text) const { SetWindowTextA(window_, text.c_str()); }

void Control::StreamText(const std::string& text) const {
    TextSource source{&text, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadTextSource;
    SendMessageA(window_, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

LRESULT Control::Send(UINT message, WPARAM w, LPARAM l) const {
    return SendMessageA(window_, message, w, l);
}

}  // namespace ui
