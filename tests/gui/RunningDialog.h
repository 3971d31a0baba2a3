#pragma once
// A dialog of the program run modally on a thread of its own, for tests
// that work it from outside, as the user's input does.
#include <windows.h>

#include <string>
#include <thread>
#include <utility>

template <typename Dialog>
class RunningDialog {
public:
    template <typename... Args>
    explicit RunningDialog(Args&&... args) : dialog_(std::forward<Args>(args)...) {
        LoadLibraryA("RICHED32.DLL");
        thread_ = std::thread([this] { dialog_.RunModal(); });
        for (int i = 0; i < 500 && !(dialog_.Handle() && IsWindowVisible(dialog_.Handle())); ++i) Pump();
    }
    ~RunningDialog() {
        const HWND window = dialog_.Handle();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 500 && IsWindow(window); ++i) Pump();
        thread_.join();
    }
    RunningDialog(const RunningDialog&) = delete;
    RunningDialog& operator=(const RunningDialog&) = delete;

    Dialog& operator*() { return dialog_; }
    HWND Window() { return dialog_.Handle(); }
    HWND Item(int id) { return GetDlgItem(dialog_.Handle(), id); }
    RECT Rect(int id = 0) {
        RECT r;
        GetWindowRect(id ? Item(id) : Window(), &r);
        return r;
    }
    std::string Text(int id) {
        char text[64] = "";
        GetWindowTextA(Item(id), text, sizeof text);
        return text;
    }

private:
    // A modal dialog sends its owner, which may be a window of this thread,
    // messages that must be answered while it opens and closes.
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }

    Dialog dialog_;
    std::thread thread_;
};
