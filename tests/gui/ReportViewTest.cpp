// The lookup window's report control under Wine: which control a text goes
// into by its size, the plain text view's answers to the messages a user's
// keys and mouse send, and the dialog keys, which both controls must take
// alike.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "dialog/DataExchange.h"
#include "ReportView.h"
#include "RunningDialog.h"
#include "resource.h"

namespace {

// "line 0\tcolumn\n" ... for `count` lines, no line end after the last.
std::string Lines(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) text += '\n';
        text += "line " + std::to_string(i) + "\tcolumn";
    }
    return text;
}

std::string Clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// What a key pressed in the report did to its dialog: OK and Cancel
// commands, close requests, and the id of the control focused afterwards.
using KeyOutcome = std::array<int, 4>;
KeyOutcome g_outcome{};

LRESULT CALLBACK RecordingDialog(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) return ++g_outcome[2], 0;
    if (message == WM_COMMAND && HIWORD(w) == 0 && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL))
        ++g_outcome[LOWORD(w) == IDOK ? 0 : 1];
    return DefDlgProcA(window, message, w, l);
}

class ReportViewTest : public ::testing::Test {
protected:
    // A dialog of an edit field, the report control and a button.
    void SetUp() override {
        LoadLibraryA("RICHED32.DLL");
        WNDCLASSA type{0, RecordingDialog, 0, DLGWINDOWEXTRA, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "VekKeyDialog"};
        RegisterClassA(&type);
        parent_ = CreateWindowExA(0, "VekKeyDialog", "output", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        const auto child = [&](const char* cls, DWORD style, int id, int y, int height) {
            return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 5, y, 400, height, parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        };
        child("EDIT", 0, IDC_TARGET, 5, 20);
        output_.Attach(child("RICHEDIT", WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN,
                             IDC_OUTPUT, 30, 200));
        child("BUTTON", 0, IDC_SAVE, 235, 20);
        ASSERT_NE(View(), nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND View() const { return GetDlgItem(parent_, IDC_OUTPUT); }
    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const { return SendMessageA(View(), message, w, l); }
    LRESULT FirstVisible() const { return Send(EM_GETFIRSTVISIBLELINE); }
    // A key pressed with Shift and Control held or not, as the view reads them.
    void Press(WPARAM key, bool shift = false, bool control = false) const {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        Send(WM_KEYDOWN, key);
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD begin = 0, end = 0;
        Send(EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
        return {begin, end};
    }
    // The plain text view with a text of `lines` lines.
    void ShowLines(std::size_t lines) {
        output_.SetText(Lines(lines));
        ASSERT_TRUE(IsClass(View(), "VekTextView"));
    }

    HWND parent_ = nullptr;
    ui::ReportView output_;
};

// Each limit on its own: a text at the limit goes to the Rich Edit control,
// one over it to the text view, in the same place; either way the text
// comes back whole.
TEST_F(ReportViewTest, ATextOverAnyOneLimitGoesToTheViewAndAShortOneBack) {
    using ui::ReportView;
    const std::string longestLine(ReportView::kRichEditLineLength, 'x');
    std::string largest;  // 1,024 lines of 64 bytes each
    while (largest.size() < ReportView::kRichEditBytes) largest += std::string(63, 'x') + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {Lines(ReportView::kRichEditLines), Lines(ReportView::kRichEditLines + 1)},
        {"a\n" + longestLine + "\nb", "a\n" + longestLine + "x\nb"},
        {largest, largest + "z"},
    };
    for (const auto& [within, over] : cases) {
        for (const auto& [text, view] : {std::make_pair(within, "RICHEDIT"), std::make_pair(over, "VekTextView")}) {
            output_.SetText(text);
            EXPECT_TRUE(IsClass(View(), view)) << text.size();
            EXPECT_EQ(output_.Handle(), View());
            EXPECT_EQ(ui::WindowText(View()), text);
        }
    }
    const std::string& last = cases[2].second;
    EXPECT_EQ(Send(EM_GETLINECOUNT), std::count(last.begin(), last.end(), '\n') + 1);
    char cut[4] = "abc";  // cut to the caller's buffer, ended by a zero
    EXPECT_EQ(Send(WM_GETTEXT, sizeof cut, reinterpret_cast<LPARAM>(cut)), 3);
    EXPECT_STREQ(cut, "xxx");
}

// The copy's text is the view logic's (checked natively); here the
// selection reaches the clipboard, and an empty one leaves it as it was.
TEST_F(ReportViewTest, SelectionIsCopiedWithCrLfLineEnds) {
    ShowLines(6000);
    const std::string all = Lines(6000);
    Send(EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(all.size())));
    Send(WM_COPY);
    EXPECT_EQ(Clipboard().size(), all.size() + 5999);
    Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    Send(WM_COPY);
    EXPECT_EQ(Clipboard().substr(0, 22), "line 0\tcolumn\r\nline 1\t");
    // The mouse selects from the click to the shift-click, and takes the focus.
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(0, 1));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(0, 1));
    Send(WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(3000, 1));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(3000, 1));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{13}));  // the end of "line 0\tcolumn"
    EXPECT_EQ(GetFocus(), View());
}

// Keys move the caret, Shift extends the selection, and paging and the
// text's ends move the view with the caret.
TEST_F(ReportViewTest, KeysMoveTheCaretAndTheView) {
    ShowLines(6000);
    SetFocus(View());
    const DWORD size = static_cast<DWORD>(Lines(6000).size()), any = ~DWORD{0};
    const struct Step {
        WPARAM key;
        bool shift, control;
        DWORD begin, end;  // any: not checked
        LRESULT firstLow, firstHigh;  // the first line shown
    } steps[] = {{VK_DOWN, false, false, 14, 14, 0, 0},     {VK_END, true, false, 14, 27, 0, 0},
                 {VK_RIGHT, false, false, 28, 28, 0, 0},    {VK_LEFT, true, false, 27, 28, 0, 0},
                 {VK_LEFT, true, false, 26, 28, 0, 0},      {VK_NEXT, false, false, any, any, 1, 6000},
                 {VK_END, false, true, size, size, 5901, 6000}, {VK_HOME, true, true, 0, size, 0, 0},
                 {VK_UP, false, false, 0, 0, 0, 0}};
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.key << (step.shift ? " shift" : "") << (step.control ? " ctrl" : ""));
        Press(step.key, step.shift, step.control);
        if (step.begin != any) {
            EXPECT_EQ(Selection(), std::make_pair(step.begin, step.end));
        }
        EXPECT_GE(FirstVisible(), step.firstLow);
        EXPECT_LE(FirstVisible(), step.firstHigh);
    }
    UpdateWindow(View());
}

struct DialogKey {
    const char* name;
    WPARAM key;
    bool shift;
    KeyOutcome want;
};

class ReportKeyTest : public ReportViewTest, public ::testing::WithParamInterface<DialogKey> {
protected:
    // The report control holding `text` and the focus; the key pressed
    // through the dialog's message loop.
    KeyOutcome Press(const std::string& text) {
        g_outcome = {};
        output_.SetText(text);
        SetFocus(View());
        BYTE keys[256] = {};
        keys[VK_SHIFT] = GetParam().shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(View(), WM_KEYDOWN, GetParam().key, 1);
        PostMessageA(View(), WM_KEYUP, GetParam().key, 0xC0000001);
        MSG message;
        for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (IsDialogMessageA(parent_, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        g_outcome[3] = GetDlgCtrlID(GetFocus());
        return g_outcome;
    }
};

// The report control is read-only and wants its Enter key (ES_WANTRETURN):
// Enter in it starts no lookup. The Rich Edit control asks its dialog to
// close on Escape and moves the focus on Tab; the text view must do the
// same for a report too large for it.
TEST_P(ReportKeyTest, TheTextViewTakesTheKeyAsTheRichEditControlDoes) {
    EXPECT_EQ(Press("a short report\n"), GetParam().want) << "Rich Edit";
    EXPECT_EQ(Press(Lines(ui::ReportView::kRichEditLines + 1)), GetParam().want) << "text view";
}

INSTANTIATE_TEST_SUITE_P(Keys, ReportKeyTest,
                         ::testing::Values(DialogKey{"Enter", VK_RETURN, false, {0, 0, 0, IDC_OUTPUT}},
                                           DialogKey{"Escape", VK_ESCAPE, false, {0, 0, 1, IDC_OUTPUT}},
                                           DialogKey{"Tab", VK_TAB, false, {0, 0, 0, IDC_SAVE}},
                                           DialogKey{"ShiftTab", VK_TAB, true, {0, 0, 0, IDC_TARGET}}),
                         [](const ::testing::TestParamInfo<DialogKey>& info) { return info.param.name; });

}  // namespace
