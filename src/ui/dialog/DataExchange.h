#pragma once
// The transfer between a dialog's members and its controls, one direction
// per run: window texts, the selected line of a list, check states, and the
// binding of control wrappers to their windows.
#include <windows.h>

#include <cstdint>
#include <string>

namespace ui {

class Control;

class DataExchange {
public:
    DataExchange(HWND dialog, bool toMembers) : dialog_(dialog), toMembers_(toMembers) {}

    bool ToMembers() const { return toMembers_; }

    void Attach(int id, Control& control) const;
    // Window text. Text read back with CR LF line ends (as Windows' Rich
    // Edit gives it) is taken with LF alone, the form the program writes.
    void Text(int id, std::string& value) const;
    // Selected line of a list, -1 when none is selected.
    void ListIndex(int id, std::int32_t& value) const;
    // Check state 0, 1 or 2; any other member value is shown as 0.
    void Check(int id, int& value) const;

private:
    HWND dialog_;
    bool toMembers_;
};

// The text of a window, with CR LF line ends read as LF.
std::string WindowText(HWND window);

}  // namespace ui
