// The flat button under Wine, in this process: which sequences of mouse
// messages click it, the default button following its focus, and its looks,
// painted into a memory bitmap and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "FlatButton.h"
#include "FlatButtonLook.h"
#include "RunningDialog.h"

namespace {

constexpr int kId = 1047;
constexpr int kWidth = 80, kHeight = 22;

struct Parent {
    int clicks = 0;
    std::vector<int> defaults;  // DM_SETDEFID arguments, in order
};
Parent* g_parent = nullptr;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (g_parent && message == WM_COMMAND && LOWORD(w) == kId && HIWORD(w) == BN_CLICKED) ++g_parent->clicks;
    if (g_parent && message == DM_SETDEFID) g_parent->defaults.push_back(static_cast<int>(w));
    return DefWindowProcA(window, message, w, l);
}

class FlatButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_parent = &seen_;
        WNDCLASSA type{0, ParentProcedure, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "VekButtonParent"};
        RegisterClassA(&type);
        parent_ = CreateWindowExA(0, "VekButtonParent", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        other_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 100, 50, 20, parent_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        button_.Attach(CreateWindowExA(0, "BUTTON", "Target >", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_FLAT, 10,
                                       10, kWidth, kHeight, parent_, reinterpret_cast<HMENU>(kId),
                                       GetModuleHandleA(nullptr), nullptr));
    }
    void TearDown() override {
        DestroyWindow(parent_);
        g_parent = nullptr;
    }
    Pixels Paint(int state, bool focused) {
        return Pixels(kWidth, kHeight, [&](HDC dc) { PaintFlatButtonLook(button_.Handle(), dc, state, focused); });
    }

    Parent seen_;
    HWND parent_ = nullptr;
    HWND other_ = nullptr;
    FlatButton button_;
};

// A mouse message to the button: kind, key state, where (client pixels).
struct Mouse {
    UINT message;
    WPARAM keys;
    int x, y;
};
const Mouse kDown{WM_LBUTTONDOWN, MK_LBUTTON, 40, 10}, kUp{WM_LBUTTONUP, 0, 40, 10},
    kDragOn{WM_MOUSEMOVE, MK_LBUTTON, 40, 10}, kDragOff{WM_MOUSEMOVE, MK_LBUTTON, 200, 10},
    kUpOff{WM_LBUTTONUP, 0, 200, 10}, kUpLeft{WM_LBUTTONUP, 0, -1, 10},  // left of it: far outside, read unsigned
    kDouble{WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 10}, kHover{WM_MOUSEMOVE, 0, 40, 10}, kLeave{WM_MOUSELEAVE, 0, 0, 0};

struct ClickRow {
    const char* name;
    std::vector<Mouse> messages;
    int clicks;
};

class FlatButtonClicks : public FlatButtonTest, public ::testing::WithParamInterface<ClickRow> {};

TEST_P(FlatButtonClicks, ClickOnlyWhenReleasedOverThePressedButton) {
    for (const Mouse& m : GetParam().messages)
        SendMessageA(button_.Handle(), m.message, m.keys, MAKELPARAM(static_cast<WORD>(m.x), static_cast<WORD>(m.y)));
    EXPECT_EQ(seen_.clicks, 0) << "the click is posted, not sent";
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
    EXPECT_EQ(seen_.clicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, FlatButtonClicks,
    ::testing::Values(ClickRow{"PressRelease", {kDown, kUp}, 1},
                      ClickRow{"DraggedOffAndReleased", {kDown, kDragOff, kUpOff}, 0},
                      ClickRow{"ReleasedLeftOfIt", {kDown, kUpLeft}, 0},
                      ClickRow{"PressedBesideDraggedOn", {kDragOn, kUp}, 1},
                      ClickRow{"DoubleClick", {kDown, kUp, kDouble, kUp}, 2},
                      ClickRow{"ReleaseWithoutPress", {kHover, kUp}, 0},
                      ClickRow{"LeaveWhileHeld", {kDown, kLeave, kUp}, 1},
                      ClickRow{"FocusLostWhilePressed", {kDragOn, {WM_KILLFOCUS, 0, 0, 0}, kUp}, 0}),
    [](const ::testing::TestParamInfo<ClickRow>& info) { return info.param.name; });

TEST_F(FlatButtonTest, TheFocusedButtonIsTheDefaultAndLeavingHandsItBack) {
    SetFocus(button_.Handle());
    SetFocus(other_);
    EXPECT_EQ(seen_.defaults, (std::vector<int>{kId, IDOK}));
}

struct LookRow {
    const char* name;
    int state;
    bool focused, enabled;
    int outer[2], inner[2];  // system colours of rings 0 and 1: top-left, bottom-right
    bool focusFrame;
};

class FlatButtonLooks : public FlatButtonTest, public ::testing::WithParamInterface<LookRow> {};

TEST_P(FlatButtonLooks, EdgesAndFocusFrameOfEachLook) {
    const LookRow& row = GetParam();
    EnableWindow(button_.Handle(), row.enabled);
    const Pixels look = Paint(row.state, row.focused);
    // Pixel ring `ring` (0: outermost) in the middle of the top, left, bottom and right sides.
    const auto ring = [&](int r) {
        return std::vector<COLORREF>{look.At(kWidth / 2, r), look.At(r, kHeight / 2),
                                     look.At(kWidth / 2, kHeight - 1 - r), look.At(kWidth - 1 - r, kHeight / 2)};
    };
    const auto sys = [](const int (&c)[2]) {
        return std::vector<COLORREF>{GetSysColor(c[0]), GetSysColor(c[0]), GetSysColor(c[1]), GetSysColor(c[1])};
    };
    EXPECT_EQ(ring(0), sys(row.outer));
    EXPECT_EQ(ring(1), sys(row.inner));
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(look.At(4, 3) == shadow && look.At(3, 4) == shadow && look.At(kWidth - 5, kHeight - 4) == shadow &&
                  look.At(kWidth - 4, kHeight - 5) == shadow,
              row.focusFrame);
}

constexpr int kRaised[2] = {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, kEdge[2] = {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
INSTANTIATE_TEST_SUITE_P(
    Looks, FlatButtonLooks,
    ::testing::Values(
        LookRow{"Normal", FlatButton::Normal, false, true, {kEdge[0], kEdge[1]}, {kRaised[0], kRaised[1]}, false},
        LookRow{"HotFocused", FlatButton::Hot, true, true, {COLOR_BTNFACE, COLOR_BTNFACE}, {kRaised[0], kRaised[1]}, true},
        LookRow{"PressedFocused", FlatButton::Pressed, true, true, {kEdge[0], kEdge[1]},
                {COLOR_3DDKSHADOW, COLOR_3DLIGHT}, false},
        LookRow{"DisabledFocused", FlatButton::Normal, true, false, {kEdge[0], kEdge[1]}, {kRaised[0], kRaised[1]},
                false}),
    [](const ::testing::TestParamInfo<LookRow>& info) { return info.param.name; });

// Pressed, the caption sits one pixel right of and below the hot one.
// Disabled, it is embossed: a highlight copy one pixel right of and below
// the shadow copy, and no ink of the enabled caption.
TEST_F(FlatButtonTest, PressedCaptionMovesAndDisabledCaptionIsEmbossed) {
    const RECT hot = Paint(FlatButton::Hot, false).Bounds(GetSysColor(COLOR_BTNTEXT), 2);
    const RECT pressed = Paint(FlatButton::Pressed, false).Bounds(GetSysColor(COLOR_BTNTEXT), 2);
    ASSERT_LT(hot.left, hot.right);
    EXPECT_EQ(pressed.left, hot.left + 1);
    EXPECT_EQ(pressed.top, hot.top + 1);
    EnableWindow(button_.Handle(), FALSE);
    const Pixels disabled = Paint(FlatButton::Normal, false);
    const RECT shadow = disabled.Bounds(GetSysColor(COLOR_BTNSHADOW), 2);
    const RECT highlight = disabled.Bounds(GetSysColor(COLOR_BTNHIGHLIGHT), 2);
    ASSERT_LT(shadow.left, shadow.right);
    EXPECT_EQ(highlight.left, shadow.left + 1);
    EXPECT_EQ(highlight.bottom, shadow.bottom + 1);
    EXPECT_GT(disabled.Bounds(GetSysColor(COLOR_BTNTEXT), 2).left, disabled.Bounds(GetSysColor(COLOR_BTNTEXT), 2).right);
}

}  // namespace
