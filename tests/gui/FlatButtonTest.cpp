// The flat button under Wine, in this process: which sequences of mouse
// messages click it, the default button following its focus, and its looks,
// painted into a memory bitmap and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "FlatButton.h"
#include "FlatButtonLook.h"

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
        WNDCLASSA type{};
        type.lpfnWndProc = ParentProcedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "VekButtonParent";
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

    // Delivers the queued (posted) messages: the clicks.
    void Pump() {
        MSG message;
        for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
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

const Mouse kDown{WM_LBUTTONDOWN, MK_LBUTTON, 40, 10};
const Mouse kUp{WM_LBUTTONUP, 0, 40, 10};
const Mouse kDragOn{WM_MOUSEMOVE, MK_LBUTTON, 40, 10};
const Mouse kDragOff{WM_MOUSEMOVE, MK_LBUTTON, 200, 10};
const Mouse kUpOff{WM_LBUTTONUP, 0, 200, 10};
const Mouse kUpLeft{WM_LBUTTONUP, 0, -1, 10};  // left of the button: far outside, read unsigned
const Mouse kDouble{WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 10};
const Mouse kHover{WM_MOUSEMOVE, 0, 40, 10};
const Mouse kLeave{WM_MOUSELEAVE, 0, 0, 0};

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
    Pump();
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

// ---- looks ----

// The button painted in one look into a bitmap of its size.
class Painted {
public:
    Painted(HWND button, int state, bool focused) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        PaintFlatButtonLook(button, dc_, state, focused);
    }
    ~Painted() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // The colours of pixel ring `ring` (0: outermost) in the middle of the
    // top, left, bottom and right sides.
    std::vector<COLORREF> Ring(int ring) const {
        return {At(kWidth / 2, ring), At(ring, kHeight / 2), At(kWidth / 2, kHeight - 1 - ring),
                At(kWidth - 1 - ring, kHeight / 2)};
    }
    // The bounding box of the pixels of `colour` inside the edge.
    RECT Ink(COLORREF colour) const {
        RECT box{kWidth, kHeight, 0, 0};
        for (int y = 2; y < kHeight - 2; ++y)
            for (int x = 2; x < kWidth - 2; ++x)
                if (At(x, y) == colour) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    bool FocusFrame(COLORREF shadow) const {
        return At(4, 3) == shadow && At(3, 4) == shadow && At(kWidth - 5, kHeight - 4) == shadow &&
               At(kWidth - 4, kHeight - 5) == shadow;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

COLORREF Sys(int index) { return GetSysColor(index); }

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
    const Painted painted(button_.Handle(), row.state, row.focused);
    const auto ring = [](int topLeft, int bottomRight) {
        return std::vector<COLORREF>{Sys(topLeft), Sys(topLeft), Sys(bottomRight), Sys(bottomRight)};
    };
    EXPECT_EQ(painted.Ring(0), ring(row.outer[0], row.outer[1]));
    EXPECT_EQ(painted.Ring(1), ring(row.inner[0], row.inner[1]));
    EXPECT_EQ(painted.FocusFrame(Sys(COLOR_BTNSHADOW)), row.focusFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, FlatButtonLooks,
    ::testing::Values(
        LookRow{"Normal", FlatButton::Normal, false, true, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, false},
        LookRow{"NormalFocused", FlatButton::Normal, true, true, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, true},
        LookRow{"Hot", FlatButton::Hot, false, true, {COLOR_BTNFACE, COLOR_BTNFACE},
                {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, false},
        LookRow{"HotFocused", FlatButton::Hot, true, true, {COLOR_BTNFACE, COLOR_BTNFACE},
                {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, true},
        LookRow{"PressedFocused", FlatButton::Pressed, true, true, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                {COLOR_3DDKSHADOW, COLOR_3DLIGHT}, false},
        LookRow{"DisabledFocused", FlatButton::Normal, true, false, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, false}),
    [](const ::testing::TestParamInfo<LookRow>& info) { return info.param.name; });

TEST_F(FlatButtonTest, PressedCaptionSitsOnePixelRightAndDown) {
    const RECT hot = Painted(button_.Handle(), FlatButton::Hot, false).Ink(Sys(COLOR_BTNTEXT));
    const RECT pressed = Painted(button_.Handle(), FlatButton::Pressed, false).Ink(Sys(COLOR_BTNTEXT));
    ASSERT_LT(hot.left, hot.right);
    EXPECT_EQ(pressed.left, hot.left + 1);
    EXPECT_EQ(pressed.top, hot.top + 1);
}

// Disabled, the caption is embossed: a highlight copy one pixel right of
// and below the shadow copy, and no ink of the enabled caption.
TEST_F(FlatButtonTest, DisabledCaptionIsEmbossed) {
    EnableWindow(button_.Handle(), FALSE);
    const Painted painted(button_.Handle(), FlatButton::Normal, false);
    const RECT shadow = painted.Ink(Sys(COLOR_BTNSHADOW));
    const RECT highlight = painted.Ink(Sys(COLOR_BTNHIGHLIGHT));
    ASSERT_LT(shadow.left, shadow.right);
    EXPECT_EQ(highlight.left, shadow.left + 1);
    EXPECT_EQ(highlight.bottom, shadow.bottom + 1);
    EXPECT_GE(painted.Ink(Sys(COLOR_BTNTEXT)).left, painted.Ink(Sys(COLOR_BTNTEXT)).right);
}

}  // namespace
