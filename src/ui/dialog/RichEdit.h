#pragma once
// The Rich Edit 1.0 control of a dialog: text of any size, set in one piece,
// and a paragraph format that holds for all of it.
#include <windows.h>
#include <richedit.h>

#include <string>

#include "Control.h"

namespace ui {

class RichEdit : public Control {
public:
    // The paragraph format (tab stops) of every paragraph from now on.
    void SetParagraphFormat(const PARAFORMAT& format);
    // Replaces the whole text, with the caret at the start. The text is
    // streamed in with drawing held back: Wine's Rich Edit takes time that
    // grows with the square of the line count for WM_SETTEXT, but not for a
    // stream, and new text takes the format of the paragraph it goes into.
    void SetText(const std::string& text) const;

protected:
    void OnAttach() override;

private:
    PARAFORMAT format_{};
};

}  // namespace ui
