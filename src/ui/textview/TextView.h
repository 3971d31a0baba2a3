#pragma once
// A read-only text view that holds text of any size cheaply: the text once
// and four bytes a line. It answers the messages a read-only multi-line edit
// answers for its text, selection, tab stops, scrolling and copying, moves
// a caret by the keys a read-only edit knows (Shift selecting), and draws
// only the lines in sight, unwrapped, with a horizontal scroll bar when a
// line is wider than the view.
#include <windows.h>

#include <string>

namespace ui {

class TextView {
public:
    // Sent from the view's own process with lParam a std::string*: the view
    // takes the string's text without a copy, leaving the string empty.
    static constexpr UINT kTakeText = WM_USER + 0x700;

    // The window class; registering it again does nothing.
    static const char* ClassName();
    static void Register();
};

}  // namespace ui
