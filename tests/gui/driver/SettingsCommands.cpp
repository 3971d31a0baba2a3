#include "SettingsCommands.h"

#include <set>
#include <sstream>

#include "DialogState.h"
#include "Escape.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr int kFileNameField = 1148;  // the save dialog's file name box
constexpr int kFilterList = 1136;     // its list of file types

// A visible top-level window of `className`, owned by `owner` (any owner
// for nullptr), that `accept` takes; polled for up to `ms`.
template <typename Accept>
HWND WaitForWindow(const wchar_t* className, HWND owner, long ms, Accept accept) {
    for (long waited = 0; waited <= ms; waited += kPollMs) {
        for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
             w = FindWindowExW(nullptr, w, className, nullptr)) {
            if (!IsWindowVisible(w)) continue;
            if (owner && GetWindow(w, GW_OWNER) != owner) continue;
            if (accept(w)) return w;
        }
        Sleep(kPollMs);
    }
    return nullptr;
}

HWND PopupMenu(long ms) {
    return WaitForWindow(L"#32768", nullptr, ms, [](HWND) { return true; });
}

HWND SaveDialog(HWND dialog, long ms) {
    return WaitForWindow(L"#32770", dialog, ms,
                         [](HWND w) { return GetDlgItem(w, kFileNameField) != nullptr; });
}

bool WaitGone(HWND window, long ms) {
    for (long waited = 0; waited <= ms; waited += kPollMs) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        Sleep(kPollMs);
    }
    return false;
}

// Sent, not GetWindowText: for a window of another process that gives only
// the window's caption, not what an edit field holds.
std::wstring TextW(HWND window) {
    wchar_t text[4096] = L"";
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

// "popupkey <ms> escape|<letter>": a key typed into the open popup menu;
// answers once the menu has closed.
std::string PopupKey(std::istringstream& in) {
    long ms = 0;
    std::string key;
    in >> ms >> key;
    HWND menu = PopupMenu(ms);
    if (!menu) return "error no menu";
    if (key == "escape") {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    } else if (key.size() == 1) {
        PostMessageW(menu, WM_CHAR, static_cast<WPARAM>(key[0]), 1);
    } else {
        return "error unknown key " + key;
    }
    return WaitGone(menu, ms) ? "ok" : "error menu still open";
}

// "savedialog <ms>": the proposed file name, the file types and the one
// selected, as "ok <name>|<type 1>\n<type 2>|<selected>".
std::string SaveDialogState(HWND dialog, std::istringstream& in) {
    long ms = 0;
    in >> ms;
    HWND save = SaveDialog(dialog, ms);
    if (!save) return "error no save dialog";
    HWND types = GetDlgItem(save, kFilterList);
    std::wstring lines;
    LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && i < 100; ++i) {
        wchar_t line[512] = L"";
        if (SendMessageW(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 512)
            SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        lines += (i ? L"\n" : L"") + std::wstring(line);
    }
    LRESULT selected = SendMessageW(types, CB_GETCURSEL, 0, 0);
    return "ok " + Escape(Narrow(TextW(GetDlgItem(save, kFileNameField)))) + "|" +
           Escape(Narrow(lines)) + "|" + std::to_string(static_cast<long>(selected));
}

// "savefile <ms> <path>" types the name and presses Save; "savecancel
// <ms>" presses Cancel. Neither waits for the dialog to close: an
// overwrite question may follow.
std::string SaveDialogButton(HWND dialog, const std::string& verb, std::istringstream& in) {
    long ms = 0;
    in >> ms;
    HWND save = SaveDialog(dialog, ms);
    if (!save) return "error no save dialog";
    if (verb == "savefile") {
        std::string path;
        std::getline(in >> std::ws, path);
        SendMessageW(GetDlgItem(save, kFileNameField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(Widen(Unescape(path)).c_str()));
    }
    PostMessageW(GetDlgItem(save, verb == "savefile" ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    return "ok";
}

// "confirm <ms> yes|no": answers the save dialog's overwrite question
// (a message box owned by the save dialog).
std::string Confirm(HWND dialog, std::istringstream& in) {
    long ms = 0;
    std::string answer;
    in >> ms >> answer;
    HWND save = SaveDialog(dialog, ms);
    if (!save) return "error no save dialog";
    HWND question = WaitForWindow(L"#32770", save, ms,
                                  [](HWND w) { return GetDlgItem(w, IDYES) != nullptr; });
    if (!question) return "error no question";
    std::string text;
    for (HWND c = GetWindow(question, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetDlgCtrlID(c) == 0xFFFF) text = Narrow(TextW(c));
    PostMessageW(GetDlgItem(question, answer == "yes" ? IDYES : IDNO), BM_CLICK, 0, 0);
    return "ok " + Escape(text);
}

// "setpos <x> <y> <cx> <cy> <flags>": SetWindowPos on the lookup window, as
// a drag of an edge or a program would; answers the rectangle it then has.
std::string SetPos(HWND dialog, std::istringstream& in) {
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned flags = 0;
    in >> x >> y >> cx >> cy >> flags;
    SetWindowPos(dialog, nullptr, x, y, cx, cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
    return ScreenRect(dialog);
}

// "poschanging <x> <y> <cx> <cy> <flags>": sends the position-changing
// message alone, as the system does before a change; answers the record as
// the window left it: x y cx cy flags.
std::string PosChanging(HWND dialog, std::istringstream& in) {
    WINDOWPOS proposed = {};
    proposed.hwnd = dialog;
    in >> proposed.x >> proposed.y >> proposed.cx >> proposed.cy >> proposed.flags;
    SendMessageW(dialog, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&proposed));
    return "ok " + std::to_string(proposed.x) + " " + std::to_string(proposed.y) + " " +
           std::to_string(proposed.cx) + " " + std::to_string(proposed.cy) + " " +
           std::to_string(proposed.flags);
}

std::string Show(HWND dialog, const std::string& how) {
    int command = how == "min" ? SW_MINIMIZE : how == "max" ? SW_MAXIMIZE : SW_RESTORE;
    ShowWindow(dialog, command);
    return "ok";
}

// "lockfile <path>" opens the file (creating it) with no sharing, so that
// no other process can open it until "unlockfile".
std::string LockFile(const std::string& path) {
    static HANDLE locked = INVALID_HANDLE_VALUE;
    if (locked != INVALID_HANDLE_VALUE) CloseHandle(locked);
    locked = INVALID_HANDLE_VALUE;
    if (path.empty()) return "ok";
    locked = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return locked != INVALID_HANDLE_VALUE ? "ok" : "error cannot open";
}

// "checked <id>": the check state; "setcheck <id> <state>" sets it.
std::string CheckBox(HWND dialog, const std::string& verb, std::istringstream& in) {
    int id = 0;
    long state = 0;
    in >> id >> state;
    HWND control = GetDlgItem(dialog, id);
    if (!control) return "error no control " + std::to_string(id);
    if (verb == "setcheck") {
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
        return "ok";
    }
    return "ok " + std::to_string(static_cast<long>(SendMessageW(control, BM_GETCHECK, 0, 0)));
}

const std::set<std::string> kVerbs = {
    "setpos",   "poschanging", "show",      "state",      "workarea",   "checked",
    "setcheck", "popup",       "popupkey",  "savedialog", "savefile",   "savecancel",
    "confirm",  "savegone",    "lockfile",  "unlockfile"};

}  // namespace

bool IsSettingsCommand(const std::string& verb) { return kVerbs.count(verb) != 0; }

std::string RunSettingsCommand(HWND dialog, const std::string& verb,
                                const std::string& arguments) {
    std::istringstream in(arguments);
    if (verb == "setpos") return SetPos(dialog, in);
    if (verb == "poschanging") return PosChanging(dialog, in);
    if (verb == "checked" || verb == "setcheck") return CheckBox(dialog, verb, in);
    if (verb == "lockfile" || verb == "unlockfile") {
        std::string path;
        std::getline(in >> std::ws, path);
        return LockFile(verb == "lockfile" ? Unescape(path) : std::string());
    }
    if (verb == "show") {  // "show min|max|restore"
        std::string how;
        in >> how;
        return Show(dialog, how);
    }
    if (verb == "state")
        return IsIconic(dialog) ? "ok min" : IsZoomed(dialog) ? "ok max" : "ok normal";
    if (verb == "workarea") {
        RECT area;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return "ok " + std::to_string(area.left) + " " + std::to_string(area.top) + " " +
               std::to_string(area.right) + " " + std::to_string(area.bottom);
    }
    long ms = 0;
    if (verb == "popup") {  // "popup <ms>": the open menu's rectangle
        in >> ms;
        HWND menu = PopupMenu(ms);
        return menu ? ScreenRect(menu) : "error no menu";
    }
    if (verb == "popupkey") return PopupKey(in);
    if (verb == "savedialog") return SaveDialogState(dialog, in);
    if (verb == "confirm") return Confirm(dialog, in);
    if (verb == "savegone") {  // "savegone <ms>": the save dialog has closed
        in >> ms;
        HWND save = SaveDialog(dialog, 0);
        return !save || WaitGone(save, ms) ? "ok" : "error save dialog still open";
    }
    return SaveDialogButton(dialog, verb, in);
}
