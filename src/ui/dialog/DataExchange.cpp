#include "DataExchange.h"

#include "Control.h"

namespace ui {

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    std::size_t out = 0;
    for (std::size_t in = 0; in < text.size(); ++in) {
        if (text[in] == '\r' && in + 1 < text.size() && text[in + 1] == '\n') continue;
        text[out++] = text[in];
    }
    text.resize(out);
    return text;
}

void DataExchange::Attach(int id, Control& control) const {
    control.Attach(GetDlgItem(dialog_, id));
}

void DataExchange::Text(int id, std::string& value) const {
    HWND control = GetDlgItem(dialog_, id);
    if (toMembers_)
        value = WindowText(control);
    else
        SetWindowTextA(control, value.c_str());
}

void DataExchange::ListIndex(int id, std::int32_t& value) const {
    HWND control = GetDlgItem(dialog_, id);
    if (toMembers_) {
        value = static_cast<std::int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        return;
    }
    // A line that does not exist clears the selection (Wine would otherwise
    // keep the old one).
    LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
    std::int32_t line = value >= 0 && value < count ? value : -1;
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

void DataExchange::Check(int id, int& value) const {
    HWND control = GetDlgItem(dialog_, id);
    if (toMembers_) {
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2) value = 0;
    SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

}  // namespace ui
