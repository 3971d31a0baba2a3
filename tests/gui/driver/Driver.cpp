// vek-gui-driver: works the windows of vek.exe from another process, for the
// end-to-end window tests. One command a line on standard input, one answer
// a line: "ok [value]" or "error <reason>"; texts in answers are escaped
// (\n, \r, \t, \\). Control id 0 is the current window itself. Waits are
// bounded by the milliseconds given.
//
//   find <ms> <caption>       wait for a shown top-level window; it becomes
//                             the current window
//   findclass <ms> <class>    the same by its class ("#32768": a popup menu)
//   gone <ms>                 wait until the current window is gone or hidden
//   text <id>                 its text, line ends as they come
//   lines <id> <n>...         of a text of any size, with CR LF read as LF:
//                             "<bytes> <lines>", then those lines (from 0)
//   settext <id> <text>       WM_SETTEXT
//   post <id> <msg> <w> <l>   PostMessage; send ... answers SendMessage's result
//   enabled <id>
//   place [<x> <y> <cx> <cy>] SetWindowPos of the current window, if given;
//                             answers its screen rectangle l t r b
//   quit
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        const char* escaped = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : c == '\\' ? "\\\\" : nullptr;
        escaped ? out += escaped : out += c;
    }
    return out;
}

// Under Wine, text of another process's window comes back right only
// through the W functions; the program's 8-bit text is Latin-1 here.
std::wstring Widen(const std::string& text) {
    std::wstring out;
    for (unsigned char c : text) out += static_cast<wchar_t>(c);
    return out;
}

// The whole text, with CR LF read as LF.
std::string TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    std::string out;
    for (LRESULT i = 0; i < got; ++i)
        if (!(text[i] == L'\r' && i + 1 < got && text[i + 1] == L'\n')) out += static_cast<char>(text[i] < 256 ? text[i] : '?');
    return out;
}

template <typename Found>
HWND Poll(long ms, Found found) {
    for (long waited = 0;; waited += kPollMs) {
        if (HWND window = found()) return window;
        if (waited >= ms) return nullptr;
        Sleep(kPollMs);
    }
}

HWND TopLevel(const wchar_t* className, const wchar_t* caption) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, caption); w;
         w = FindWindowExW(nullptr, w, className, caption))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

class Driver {
public:
    std::string Answer(const std::string& line);

private:
    HWND Control(int id) const { return id ? GetDlgItem(window_, id) : window_; }
    std::string OnControl(const std::string& verb, HWND control, std::istringstream& in);
    std::string Lines(HWND control, std::istringstream& in) const;

    HWND window_ = nullptr;
};

std::string Rest(std::istringstream& in) {
    std::string rest;
    std::getline(in >> std::ws, rest);
    return rest;
}

std::string Driver::Answer(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    long ms = 0;
    in >> verb;
    if (verb == "find" || verb == "findclass") {
        in >> ms;
        const std::wstring name = Widen(Rest(in));
        const bool byClass = verb == "findclass";
        window_ = Poll(ms, [&] { return TopLevel(byClass ? name.c_str() : nullptr, byClass ? nullptr : name.c_str()); });
        return window_ ? "ok" : "error no window";
    }
    if (!window_) return "error no window (find first)";
    if (verb == "gone") {
        in >> ms;
        const auto gone = [&] { return IsWindow(window_) && IsWindowVisible(window_) ? nullptr : window_; };
        return Poll(ms, gone) ? "ok" : "error still there";
    }
    if (verb == "place") {
        int x = 0, y = 0, cx = 0, cy = 0;
        if (in >> x >> y >> cx >> cy) SetWindowPos(window_, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r;
        GetWindowRect(window_, &r);
        std::ostringstream out;
        out << "ok " << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
        return out.str();
    }
    int id = 0;
    in >> id;
    HWND control = Control(id);
    if (!control) return "error no control " + std::to_string(id);
    return OnControl(verb, control, in);
}

std::string Driver::OnControl(const std::string& verb, HWND control, std::istringstream& in) {
    if (verb == "text") return "ok " + Escape(TextOf(control));
    if (verb == "lines") return Lines(control, in);
    if (verb == "settext") {
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(Rest(in)).c_str()));
        return "ok";
    }
    if (verb == "post" || verb == "send") {
        unsigned long message = 0;
        long long w = 0, l = 0;
        in >> message >> w >> l;
        if (verb == "post")
            return PostMessageW(control, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l)) ? "ok" : "error post";
        return "ok " + std::to_string(static_cast<long long>(
                           SendMessageW(control, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l))));
    }
    if (verb == "enabled") return IsWindowEnabled(control) ? "ok 1" : "ok 0";
    return "error unknown command " + verb;
}

// The text is read once; each line asked for is answered on a line of its own.
std::string Driver::Lines(HWND control, std::istringstream& in) const {
    const std::string text = TextOf(control);
    std::vector<std::size_t> starts{0};
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        starts.push_back(at + 1);
    std::string out = "ok " + std::to_string(text.size()) + " " + std::to_string(starts.size());
    for (std::size_t n; in >> n;) {
        if (n >= starts.size()) return "error no line " + std::to_string(n);
        const std::size_t end = n + 1 < starts.size() ? starts[n + 1] - 1 : text.size();
        out += "\\n" + Escape(text.substr(starts[n], end - starts[n]));
    }
    return out;
}

}  // namespace

int main() {
    Driver driver;
    std::string line;
    for (int i = 0; i < 100000 && std::getline(std::cin, line); ++i) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") break;
        const std::string reply = driver.Answer(line);
        std::fwrite(reply.data(), 1, reply.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}
