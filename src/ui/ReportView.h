#pragma once
// The lookup window's report control: the template's Rich Edit 1.0 control,
// taking text of any size, set in one piece, and a paragraph format that
// holds for all of it. A text of more lines, or of longer lines, than the
// Rich Edit control can lay out in reasonable time and memory goes into the
// plain text view put in its place, with the same id, place, font and tab
// stops; a smaller text brings the Rich Edit control back.
#include <windows.h>
#include <richedit.h>

#include <string>

#include "dialog/Control.h"

namespace ui {

class ReportView : public Control {
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
    // A text for the plain text view is moved into it, not copied.
    void SetText(std::string text);

    // A text over any of these limits is shown in the plain text view.
    // Wine's Rich Edit spends some 20 KB and 0.2 ms on every line of a
    // report, and on each line time that grows with the square of its
    // length: 256 KB of 2,000-character lines took it 10 s, and one line of
    // 65,000 characters (one large TXT record) 1.4 GB and 97 s. Within the
    // limits it takes at most a few seconds.
    static constexpr std::size_t kRichEditLines = 2000;
    static constexpr std::size_t kRichEditBytes = 64 * 1024;
    static constexpr std::size_t kRichEditLineLength = 2000;

protected:
    void OnAttach() override;

private:
    void Renew(const char* className);
    bool HasClass(const char* className) const;

    PARAFORMAT format_{};
    std::string richClass_;
    DWORD richStyle_ = 0;
};

}  // namespace ui
