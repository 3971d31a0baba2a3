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
    // Replaces the whole text, with the caret at the start. Wine's Rich Edit
    // takes time that grows with the square of the line count both to set
    // text by WM_SETTEXT and to delete it, but not to stream it in or to
    // drop it with its window. So old text goes with a window of its own,
    // which a new one of the same kind replaces in place, and the new text
    // is streamed in with drawing held back, taking the format of the
    // paragraph it goes into.
    void SetText(const std::string& text);

protected:
    void OnAttach() override;

private:
    void Renew();

    PARAFORMAT format_{};
};

}  // namespace ui
