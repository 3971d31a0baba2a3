// The lookup window's report control under Wine: which control a text goes
// into by its size, the plain text view's answers to the messages a user's
// keys and mouse send, and the dialog keys, which both controls must take
// alike.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dialog/DataExchange.h"
#include "ReportView.h"
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

class ReportViewTest : public ::testing::Test {
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
    ui::ReportView output_;
};

TEST_F(ReportViewTest, ALongTextMovesToTheViewInPlaceAndAShortOneBack) {
    const std::string longer = Lines(ui::ReportView::kRichEditLines + 1);
    output_.SetText(longer);
    EXPECT_EQ(ClassOf(View()), "VekTextView");
    EXPECT_EQ(output_.Handle(), View());
    EXPECT_EQ(ui::WindowText(View()), longer);
    EXPECT_EQ(Send(EM_GETLINECOUNT), static_cast<LRESULT>(ui::ReportView::kRichEditLines + 1));

    output_.SetText("short\nagain");
    EXPECT_EQ(ClassOf(View()), "RICHEDIT");
    EXPECT_EQ(output_.Handle(), View());
    EXPECT_EQ(ui::WindowText(View()), "short\nagain");
}

// Each limit on its own: a text at the limit stays, one over it moves.
TEST_F(ReportViewTest, ATextOverAnyOneLimitGoesToTheView) {
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
        output_.SetText(within);
        EXPECT_EQ(ClassOf(View()), "RICHEDIT") << within.size();
        output_.SetText(over);
        EXPECT_EQ(ClassOf(View()), "VekTextView") << over.size();
        EXPECT_EQ(ui::WindowText(View()), over);
    }
}

TEST_F(ReportViewTest, ViewKeepsTheDialogsPlaceStylesAndFont) {
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

TEST_F(ReportViewTest, TextComesBackExactlyAndCutToTheCallersBuffer) {
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

TEST_F(ReportViewTest, SelectionIsCopiedWithCrLfLineEnds) {
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

TEST_F(ReportViewTest, MouseSelectsFromTheClickToTheShiftClick) {
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

// Lines are "line N\tcolumn": 13 characters and a line feed each up to
// line 9, 14 from line 10 on.
TEST_F(ReportViewTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
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

// What a key pressed in the report did to its dialog: commands it got,
// close requests, and the control that has the focus afterwards.
struct KeyOutcome {
    int ok = 0, cancel = 0, close = 0, focus = 0;
    bool operator==(const KeyOutcome& o) const {
        return ok == o.ok && cancel == o.cancel && close == o.close && focus == o.focus;
    }
};

KeyOutcome* g_outcome = nullptr;

LRESULT CALLBACK RecordingDialog(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
        ++g_outcome->close;
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(w) == 0 && LOWORD(w) == IDOK) ++g_outcome->ok;
    if (message == WM_COMMAND && HIWORD(w) == 0 && LOWORD(w) == IDCANCEL) ++g_outcome->cancel;
    return DefDlgProcA(window, message, w, l);
}

struct DialogKey {
    const char* name;
    WPARAM key;
    bool shift;
    KeyOutcome want;  // focus: the id of the control focused afterwards
};

class ReportKeyTest : public ::testing::TestWithParam<DialogKey> {
protected:
    // A dialog of an edit field, the report control and a button, with the
    // report holding `text` and the focus, and the key pressed through the
    // dialog's message loop.
    KeyOutcome Press(const std::string& text) {
        KeyOutcome outcome;
        g_outcome = &outcome;
        LoadLibraryA("RICHED32.DLL");
        WNDCLASSA type{};
        type.lpfnWndProc = RecordingDialog;
        type.cbWndExtra = DLGWINDOWEXTRA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "VekKeyDialog";
        RegisterClassA(&type);
        HWND dialog = CreateWindowExA(0, "VekKeyDialog", "keys", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        const auto child = [&](const char* cls, DWORD style, int id, int y) {
            return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 5, y, 300, 20, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
        };
        child("EDIT", 0, IDC_TARGET, 5);
        ui::ReportView report;
        report.Attach(child("RICHEDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN, IDC_OUTPUT, 30));
        child("BUTTON", 0, IDC_SAVE, 60);
        report.SetText(text);
        SetFocus(report.Handle());
        BYTE keys[256] = {};
        keys[VK_SHIFT] = GetParam().shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(report.Handle(), WM_KEYDOWN, GetParam().key, 1);
        PostMessageA(report.Handle(), WM_KEYUP, GetParam().key, 0xC0000001);
        MSG message;
        for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (IsDialogMessageA(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        outcome.focus = GetDlgCtrlID(GetFocus());
        DestroyWindow(dialog);
        g_outcome = nullptr;
        return outcome;
    }
};

// The report control is read-only and wants its Enter key (ES_WANTRETURN):
// Enter in it starts no lookup. The Rich Edit control asks its dialog to
// close on Escape and moves the focus on Tab; the text view must do the
// same for a report too large for it.
TEST_P(ReportKeyTest, TheTextViewTakesTheKeyAsTheRichEditControlDoes) {
    const KeyOutcome rich = Press("a short report\n");
    const KeyOutcome plain = Press(Lines(ui::ReportView::kRichEditLines + 1));
    const KeyOutcome& want = GetParam().want;
    EXPECT_TRUE(rich == want) << "Rich Edit: ok " << rich.ok << " cancel " << rich.cancel << " close "
                              << rich.close << " focus " << rich.focus;
    EXPECT_TRUE(plain == want) << "text view: ok " << plain.ok << " cancel " << plain.cancel << " close "
                               << plain.close << " focus " << plain.focus;
}

INSTANTIATE_TEST_SUITE_P(Keys, ReportKeyTest,
                         ::testing::Values(DialogKey{"Enter", VK_RETURN, false, {0, 0, 0, IDC_OUTPUT}},
                                           DialogKey{"Escape", VK_ESCAPE, false, {0, 0, 1, IDC_OUTPUT}},
                                           DialogKey{"Tab", VK_TAB, false, {0, 0, 0, IDC_SAVE}},
                                           DialogKey{"ShiftTab", VK_TAB, true, {0, 0, 0, IDC_TARGET}}),
                         [](const ::testing::TestParamInfo<DialogKey>& info) { return info.param.name; });

}  // namespace
