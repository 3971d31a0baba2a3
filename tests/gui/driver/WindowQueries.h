#pragma once
// The driver's view of the "DNS lookup" window of another process: finding
// it, and the commands on its controls (see Driver.cpp for the list).
#include <windows.h>

#include <string>

#include "ClickWatch.h"

class WindowQueries {
public:
    // Waits for the "DNS lookup" window, or with a caption for another
    // dialog of the program (the About box, Quick help), and makes it the
    // window that the commands work on.
    bool Find(long ms, const std::wstring& caption = L"DNS lookup");
    bool WaitGone(long ms) const;
    bool Found() const { return dialog_ != nullptr; }
    HWND Handle() const { return dialog_; }
    // Window text of control `id`, or of the dialog itself for 0.
    std::string Text(int id) const;
    // Runs one command; answers "ok ..." or "error ...".
    std::string Run(const std::string& verb, int id, const std::string& argument);

private:
    HWND Control(int id) const { return id ? GetDlgItem(dialog_, id) : dialog_; }
    std::string Key(HWND target, const std::string& key) const;
    std::string WaitText(int id, const std::string& argument, bool prefix) const;
    std::string Watch(HWND control, const std::string& argument) const;
    std::string Lines(HWND combo) const;
    std::string Rect(HWND control) const;
    std::string Children() const;

    HWND dialog_ = nullptr;
    ClickWatch clicks_;
};
