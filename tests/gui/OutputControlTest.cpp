// The dialog's output control under Wine: which control a text goes into by
// its size, and the plain text view's text, selection, copying and
// scrolling, driven by the messages a user's keys and mouse send.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dialog/DataExchange.h"
#include "dialog/RichEdit.h"
#include "resource.h"

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

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

class OutputControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadLibraryA("RICHED32.DLL");
        parent_ = CreateWindowExA(0, "STATIC", "output", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        HWND rich = CreateWindowExA(WS_EX_STATICEDGE, "RICHEDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                        ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN,
                                    5, 5, 400, 200, parent_, reinterpret_cast<HMENU>(IDC_OUTPUT),
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(rich, nullptr);
        output_.Attach(rich);
        PARAFORMAT format{};
        format.cbSize = sizeof format;
        format.dwMask = PFM_TABSTOPS;
        format.cTabCount = 1;
        format.rgxTabs[0] = 2700;
        output_.SetParagraphFormat(format);
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
        ASSERT_EQ(ClassOf(View()), "VekTextView");
    }

    HWND parent_ = nullptr;
    ui::RichEdit output_;
};

TEST_F(OutputControlTest, ALongTextMovesToTheViewInPlaceAndAShortOneBack) {
    const std::string longer = Lines(ui::RichEdit::kRichEditLines + 1);
    output_.SetText(longer);
    EXPECT_EQ(ClassOf(View()), "VekTextView");
    EXPECT_EQ(output_.Handle(), View());
    EXPECT_EQ(ui::WindowText(View()), longer);
    EXPECT_EQ(Send(EM_GETLINECOUNT), static_cast<LRESULT>(ui::RichEdit::kRichEditLines + 1));

    output_.SetText("short\nagain");
    EXPECT_EQ(ClassOf(View()), "RICHEDIT");
    EXPECT_EQ(output_.Handle(), View());
    EXPECT_EQ(ui::WindowText(View()), "short\nagain");
}

// Each limit on its own: a text at the limit stays, one over it moves.
TEST_F(OutputControlTest, ATextOverAnyOneLimitGoesToTheView) {
    using ui::RichEdit;
    const std::string longestLine(RichEdit::kRichEditLineLength, 'x');
    std::string largest;  // 1,024 lines of 64 bytes each
    while (largest.size() < RichEdit::kRichEditBytes) largest += std::string(63, 'x') + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {Lines(RichEdit::kRichEditLines), Lines(RichEdit::kRichEditLines + 1)},
        {"a\n" + longestLine + "\nb", "a\n" + longestLine + "x\nb"},
        {largest, largest + "z"},
    };
    for (const auto& [within, over] : cases) {
        output_.SetText(within);
        EXPECT_EQ(ClassOf(View()), "RICHEDIT") << within.size();
        output_.SetText(over);
        EXPECT_EQ(ClassOf(View()), "VekTextView") << over.size();
        EXPECT_EQ(ui::WindowText(View()), over);
    }
}

TEST_F(OutputControlTest, ViewKeepsTheDialogsPlaceStylesAndFont) {
    RECT before;
    GetWindowRect(View(), &before);
    const LONG style = GetWindowLongA(View(), GWL_STYLE);
    ShowLines(6000);
    RECT after;
    GetWindowRect(View(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetWindowLongA(View(), GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY),
              style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY));
    EXPECT_EQ(GetWindowLongA(View(), GWL_EXSTYLE) & WS_EX_STATICEDGE, WS_EX_STATICEDGE);
    EXPECT_EQ(Send(WM_GETFONT), SendMessageA(parent_, WM_GETFONT, 0, 0));
}

TEST_F(OutputControlTest, TextComesBackExactlyAndCutToTheCallersBuffer) {
    ShowLines(6000);
    const std::string text = "a\r\nb\n\tc";
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), static_cast<LRESULT>(text.size()));
    char buffer[4] = "xyz";
    EXPECT_EQ(Send(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "a\r\n");
    EXPECT_EQ(Send(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    Send(WM_SETTEXT, 0, 0);
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(Send(EM_GETLINECOUNT), 1);
    UpdateWindow(View());
}

TEST_F(OutputControlTest, SelectionIsCopiedWithCrLfLineEnds) {
    ShowLines(6000);
    Send(EM_SETSEL, 0, -1);
    DWORD begin = 1, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(begin, 0u);
    EXPECT_EQ(end, Lines(6000).size());
    Send(WM_COPY);
    const std::string copied = Clipboard();
    EXPECT_EQ(copied.size(), Lines(6000).size() + 5999);
    EXPECT_EQ(copied.substr(0, 22), "line 0\tcolumn\r\nline 1\t");

    Send(EM_SETSEL, 14, 20);
    Send(WM_COPY);
    EXPECT_EQ(Clipboard(), "line 1");
    // An empty selection leaves the clipboard as it was; -1 clears it.
    Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    Send(WM_COPY);
    EXPECT_EQ(Clipboard(), "line 1");
}

TEST_F(OutputControlTest, MouseSelectsFromTheClickToTheShiftClick) {
    ShowLines(6000);
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(0, 1));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(0, 1));
    Send(WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(3000, 1));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(3000, 1));
    DWORD begin = 1, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(begin, 0u);
    EXPECT_EQ(end, 13u);  // the end of "line 0\tcolumn"
    EXPECT_EQ(GetFocus(), View());
}

TEST_F(OutputControlTest, ScrollBarAndWheelMoveTheFirstVisibleLineWithinBounds) {
    ShowLines(6000);
    EXPECT_EQ(FirstVisible(), 0);
    Send(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(FirstVisible(), 0);
    Send(WM_VSCROLL, SB_BOTTOM);
    const LRESULT last = FirstVisible();
    EXPECT_GT(last, 5900);
    Send(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(FirstVisible(), last);
    Send(WM_VSCROLL, SB_TOP);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(FirstVisible(), static_cast<LRESULT>(lines));
    // The caret at the end of the text brings the last line into sight.
    Send(WM_VSCROLL, SB_TOP);
    Send(EM_SETSEL, static_cast<WPARAM>(Lines(6000).size()), static_cast<LPARAM>(Lines(6000).size()));
    Send(EM_SCROLLCARET);
    EXPECT_EQ(FirstVisible(), last);
}

// Lines are "line N\tcolumn": 13 characters and a line feed each up to
// line 9, 14 from line 10 on.
TEST_F(OutputControlTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
    ShowLines(6000);
    SetFocus(View());
    Press(VK_DOWN);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{14}, DWORD{14}));
    Press(VK_END, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{14}, DWORD{27}));
    Press(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{28}, DWORD{28}));
    Press(VK_LEFT, true);
    Press(VK_LEFT, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{26}, DWORD{28}));
    Send(WM_COPY);
    EXPECT_EQ(Clipboard(), "n\r\n");
    EXPECT_EQ(FirstVisible(), 0);

    // Paging and the text's end move the view with the caret.
    Press(VK_NEXT);
    const LRESULT page = FirstVisible();
    EXPECT_GT(page, 0);
    Press(VK_END, false, true);
    const DWORD size = static_cast<DWORD>(Lines(6000).size());
    EXPECT_EQ(Selection(), std::make_pair(size, size));
    EXPECT_GT(FirstVisible(), 5900);
    Press(VK_HOME, true, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, size));
    EXPECT_EQ(FirstVisible(), 0);
    Press(VK_UP);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
    UpdateWindow(View());
}

}  // namespace
