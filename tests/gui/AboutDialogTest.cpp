// The About box under Wine, in this process: where it opens over its owner,
// the hand pointer over its links, and the links' colours at rest and held.
#include <windows.h>

#include <gtest/gtest.h>

#include "AboutDialog.h"
#include "RunningDialog.h"
#include "resource.h"

namespace {

LONG Middle(LONG a, LONG b) { return (a + b) / 2; }

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
    EXPECT_NEAR(Middle(box.left, box.right), Middle(owner.left, owner.right), 1);
    EXPECT_NEAR(Middle(box.top, box.bottom), Middle(owner.top, owner.bottom), 1);
}

// WM_SETCURSOR over a link is handled (the hand is set); over anything else
// it is left to the default handling.
TEST_F(AboutBoxTest, TheHandPointerShowsOverTheLinksOnly) {
    const std::pair<int, LRESULT> rows[] = {
        {IDC_FEEDBACK_LINK, TRUE}, {IDC_WEB_LINK, TRUE}, {IDCANCEL, FALSE}, {IDC_QUICK_HELP, FALSE}};
    for (const auto& [id, handled] : rows) {
        SCOPED_TRACE(id);
        const HWND under = about_->Item(id);
        EXPECT_EQ(SendMessageA(about_->Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  handled);
    }
}

// The link's text drawn at rest (blue) and held down (cyan), and nothing
// for another control.
TEST_F(AboutBoxTest, LinksAreBlueAndCyanWhileHeld) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF blue = RGB(0, 0, 255), cyan = RGB(0, 255, 255), white = RGB(255, 255, 255);
    const struct Row {
        int id;
        UINT state;
        bool blue, cyan;  // which of the two inks show
    } rows[] = {{IDC_WEB_LINK, 0, true, false}, {IDC_FEEDBACK_LINK, ODS_SELECTED, false, true},
                {IDC_QUICK_HELP, 0, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        RECT all{0, 0, 200, 20};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(row.id);
        item.itemState = row.state;
        item.hwndItem = about_->Item(row.id);
        item.hDC = dc;
        item.rcItem = all;
        SendMessageA(about_->Window(), WM_DRAWITEM, static_cast<WPARAM>(row.id), reinterpret_cast<LPARAM>(&item));
        bool seen[3] = {false, false, false};
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 200; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                seen[pixel == blue ? 0 : pixel == cyan ? 1 : 2] |= pixel != white;
            }
        EXPECT_EQ(seen[0], row.blue);
        EXPECT_EQ(seen[1], row.cyan);
        // Nothing at all is drawn for another control (the edges of a link's
        // letters may blend with the ground).
        EXPECT_TRUE(row.blue || row.cyan || !seen[2]);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
