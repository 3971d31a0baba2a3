// The About box under Wine, in this process: where it opens over its owner,
// the hand pointer over its links, and the links' colours at rest and held.
#include <windows.h>

#include <gtest/gtest.h>

#include "AboutDialog.h"
#include "RunningDialog.h"
#include "resource.h"

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        about_ = new RunningDialog<AboutDialog>(owner_);
    }
    static void TearDownTestSuite() {
        delete about_;
        DestroyWindow(owner_);
    }

    static HWND owner_;
    static RunningDialog<AboutDialog>* about_;
};
HWND AboutBoxTest::owner_ = nullptr;
RunningDialog<AboutDialog>* AboutBoxTest::about_ = nullptr;

TEST_F(AboutBoxTest, OpensCentredOverItsOwner) {
    const RECT box = about_->Rect();
    RECT owner;
    GetWindowRect(owner_, &owner);
    EXPECT_NEAR(box.left + box.right, owner.left + owner.right, 2);
    EXPECT_NEAR(box.top + box.bottom, owner.top + owner.bottom, 2);
}

// Over a link WM_SETCURSOR is handled (the hand is set) and its text drawn
// blue, cyan while held; over anything else the message is left to the
// default handling and nothing is drawn (the edges of a link's letters may
// blend with the ground).
TEST_F(AboutBoxTest, LinksShowTheHandAndAreBlueAndCyanWhileHeld) {
    const COLORREF blue = RGB(0, 0, 255), cyan = RGB(0, 255, 255), white = RGB(255, 255, 255);
    const struct Row {
        int id;
        UINT state;
        bool link, blue, cyan;
    } rows[] = {{IDC_WEB_LINK, 0, true, true, false}, {IDC_FEEDBACK_LINK, ODS_SELECTED, true, false, true},
                {IDC_QUICK_HELP, 0, false, false, false}, {IDCANCEL, 0, false, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const HWND under = about_->Item(row.id);
        EXPECT_EQ(SendMessageA(about_->Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  row.link);
        const Pixels drawn(200, 20, [&](HDC dc) {
            DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(row.id), 0, 0, row.state, under, dc, {0, 0, 200, 20}, 0};
            SendMessageA(about_->Window(), WM_DRAWITEM, static_cast<WPARAM>(row.id), reinterpret_cast<LPARAM>(&item));
        });
        const auto any = [&](COLORREF c) { return drawn.Bounds(c).left <= drawn.Bounds(c).right; };
        EXPECT_EQ(any(blue), row.blue);
        EXPECT_EQ(any(cyan), row.cyan);
        const RECT ink = drawn.Bounds([&](int x, int y) { return drawn.At(x, y) != white; });
        EXPECT_TRUE(row.link || ink.left > ink.right);
    }
}

}  // namespace
