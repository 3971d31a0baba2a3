#include "WindowQueries.h"

#include <cstdlib>
#include <sstream>

#include "DialogState.h"
#include "Escape.h"

namespace {

constexpr DWORD kPollMs = 50;

std::string Ok(const std::string& value) { return value.empty() ? "ok" : "ok " + value; }

std::string Flag(bool value) { return value ? "ok 1" : "ok 0"; }

std::wstring TextW(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace

bool WindowQueries::WaitGone(long ms) const {
    for (long waited = 0; waited <= ms; waited += kPollMs) {
        if (!IsWindow(dialog_)) return true;
        Sleep(kPollMs);
    }
    return false;
}

bool WindowQueries::Find(long ms, const std::wstring& caption) {
    for (long waited = 0; waited <= ms; waited += kPollMs) {
        dialog_ = FindWindowW(L"#32770", caption.c_str());
        if (dialog_ && IsWindowVisible(dialog_)) return true;
        Sleep(kPollMs);
    }
    dialog_ = nullptr;
    return false;
}

std::string WindowQueries::Text(int id) const { return Narrow(TextW(Control(id))); }

std::string WindowQueries::Run(const std::string& verb, int id, const std::string& argument) {
    // These numbers are a command (of a menu too) and a control of any of
    // the program's dialogs, not a control of this one.
    if (verb == "command")
        return PostMessageW(dialog_, WM_COMMAND, static_cast<WPARAM>(id), 0) ? "ok" : "error post";
    if (verb == "syscommand")
        return PostMessageW(dialog_, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0) ? "ok" : "error post";
    if (verb == "hookclicks") return clicks_.Start(dialog_);
    if (verb == "clicks") return clicks_.Count(id);
    HWND control = Control(id);
    if (!control) return "error no control " + std::to_string(id);
    if (verb == "text") return Ok(Escape(Text(id)));
    if (verb == "settext") {
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(Unescape(argument)).c_str()));
        return "ok";
    }
    if (verb == "click") return PostMessageW(control, BM_CLICK, 0, 0) ? "ok" : "error post";
    if (verb == "close") return PostMessageW(dialog_, WM_CLOSE, 0, 0) ? "ok" : "error post";
    if (verb == "key") return Key(control, argument);
    if (verb == "enabled") return Flag(IsWindowEnabled(control));
    if (verb == "visible") return Flag(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
    if (verb == "style") return Ok(std::to_string(static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE))));
    if (verb == "exstyle")
        return Ok(std::to_string(static_cast<unsigned long>(GetWindowLongW(control, GWL_EXSTYLE))));
    if (verb == "class") {
        wchar_t name[64] = L"";
        GetClassNameW(control, name, 64);
        return Ok(Narrow(name));
    }
    if (verb == "rect") return Rect(control);
    if (verb == "list") return Lines(control);
    if (verb == "select")
        return Ok(std::to_string(static_cast<long>(SendMessageW(control, CB_SETCURSEL, std::atoi(argument.c_str()), 0))));
    if (verb == "watch") return Watch(control, argument);
    if (verb == "selected") return Ok(std::to_string(static_cast<long>(SendMessageW(control, CB_GETCURSEL, 0, 0))));
    if (verb == "waittext") return WaitText(id, argument, false);
    if (verb == "waitprefix") return WaitText(id, argument, true);
    if (verb == "children") return Children();
    if (verb == "screenrect") return ScreenRect(control);
    if (verb == "owner") return OwnerCaption(dialog_);
    if (verb == "defid") return DefaultId(dialog_);
    if (verb == "focus") return FocusId(dialog_);
    if (verb == "enable") {
        EnableWindow(control, argument == "1");
        return "ok";
    }
    return "error unknown command " + verb;
}

// A key goes through the dialog's own message loop, as typed keys do.
std::string WindowQueries::Key(HWND target, const std::string& key) const {
    WPARAM code = key == "enter" ? VK_RETURN : key == "escape" ? VK_ESCAPE : 0;
    if (!code) return "error unknown key " + key;
    PostMessageW(target, WM_KEYDOWN, code, 1);
    PostMessageW(target, WM_KEYUP, code, 0xC0000001);
    return "ok";
}

// "<ms> <text>": polls until the control's text (CR LF read as LF) equals,
// or starts with, the text.
std::string WindowQueries::WaitText(int id, const std::string& argument, bool prefix) const {
    std::size_t blank = argument.find(' ');
    long ms = std::atol(argument.substr(0, blank).c_str());
    std::string want = blank == std::string::npos ? std::string() : Unescape(argument.substr(blank + 1));
    std::string seen;
    for (long waited = 0; waited <= ms; waited += kPollMs) {
        seen = Text(id);
        std::string plain;
        for (std::size_t i = 0; i < seen.size(); ++i)
            if (!(seen[i] == '\r' && i + 1 < seen.size() && seen[i + 1] == '\n')) plain += seen[i];
        if (prefix ? plain.compare(0, want.size(), want) == 0 : plain == want) return "ok";
        Sleep(kPollMs);
    }
    return "error text is " + Escape(seen.substr(0, 400));
}

// "<ms> <stop-id> <stop-text>": the successive states of a control (the
// first 60 characters of its text, then "|1" or "|0" for enabled), polled
// as fast as the window answers until control <stop-id> shows <stop-text>.
std::string WindowQueries::Watch(HWND control, const std::string& argument) const {
    std::istringstream in(argument);
    long ms = 0;
    int stopId = 0;
    in >> ms >> stopId;
    std::string stopText;
    std::getline(in, stopText);
    if (!stopText.empty() && stopText[0] == ' ') stopText.erase(0, 1);
    stopText = Unescape(stopText);
    std::string states, last;
    const DWORD start = GetTickCount();
    // The state is read once more after the stop text is seen, so that the
    // last state is the one at the stop.
    for (bool stop = false;;) {
        wchar_t head[61] = L"";
        SendMessageW(control, WM_GETTEXT, 61, reinterpret_cast<LPARAM>(head));
        std::string state = Narrow(head) + (IsWindowEnabled(control) ? "|1" : "|0");
        if (state != last) {
            if (!states.empty()) states += '\n';
            states += state;
            last = state;
        }
        if (stop) return Ok(Escape(states));
        if (GetTickCount() - start > static_cast<DWORD>(ms)) return "error watched " + Escape(states);
        stop = Text(stopId) == stopText;
        if (!stop) Sleep(1);
    }
}

std::string WindowQueries::Lines(HWND combo) const {
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    std::string out;
    for (LRESULT i = 0; i < count && i < 1000; ++i) {
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line[0]));
        line.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        if (i) out += '\n';
        out += Narrow(line);
    }
    return Ok(Escape(out));
}

// In pixels of the dialog's client area.
std::string WindowQueries::Rect(HWND control) const {
    RECT r;
    if (control == dialog_) {
        GetClientRect(dialog_, &r);
    } else {
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&r), 2);
    }
    return Ok(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
              " " + std::to_string(r.bottom - r.top));
}

std::string WindowQueries::Children() const {
    std::string out;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!out.empty()) out += ' ';
        out += std::to_string(GetDlgCtrlID(child));
    }
    return Ok(out);
}
