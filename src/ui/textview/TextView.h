#pragma once
// A read-only text view that holds text of any size cheaply: the text once
// and four bytes a line. It answers the messages a read-only multi-line edit
// answers for its text, selection, tab stops, scrolling and copying, and
// draws only the lines in sight, unwrapped, with a horizontal scroll bar
// when a line is wider than the view.
#include <windows.h>

namespace ui {

class TextView {
public:
    // The window class; registering it again does nothing.
    static const char* ClassName();
    static void Register();
};

}  // namespace ui
