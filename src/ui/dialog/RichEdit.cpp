#include "RichEdit.h"

#include <cstring>

namespace ui {

namespace {

struct StreamSource {
    const std::string* text;
    std::size_t at;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = source->text->size() - source->at;
    if (count > static_cast<std::size_t>(size)) count = static_cast<std::size_t>(size);
    std::memcpy(buffer, source->text->data() + source->at, count);
    source->at += count;
    *given = static_cast<LONG>(count);
    return 0;
}

}  // namespace

void RichEdit::OnAttach() {
    // A report of any size is shown whole.
    Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void RichEdit::SetParagraphFormat(const PARAFORMAT& format) {
    format_ = format;
    Send(EM_SETSEL, 0, -1);
    Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
    Send(EM_SETSEL, 0, 0);
}

void RichEdit::SetText(const std::string& text) const {
    Send(WM_SETREDRAW, FALSE);
    SetWindowTextA(Handle(), "");
    if (format_.cbSize) Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
    StreamSource source{&text, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadSource};
    Send(EM_STREAMIN, SF_TEXT | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    Send(WM_SETREDRAW, TRUE);
    // Moving the caret with drawing on brings the scroll bar up to date.
    Send(EM_SETSEL, 0, 0);
    Send(EM_SCROLLCARET);
    InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace ui
