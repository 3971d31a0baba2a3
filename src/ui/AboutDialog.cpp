#include "AboutDialog.h"

#include <shellapi.h>

#include "CentreOverOwner.h"
#include "Dpi.h"
#include "QuickHelpDialog.h"
#include "dialog/DataExchange.h"
#include "maker.h"
#include "resource.h"

namespace {
const COLORREF kLinkColour = RGB(0, 0, 255);
const COLORREF kHeldLinkColour = RGB(0, 255, 255);
const char kFeedbackAddress[] = VEK_FEEDBACK_ADDRESS;
const char kWebAddress[] = VEK_WEB_ADDRESS;

// Hands a link to the shell. Without a mail program or a browser nothing
// happens, and there is nothing more to offer the user.
void OpenLink(const char* target) { ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_HIDE); }
}  // namespace

// The link font is 8 by 5 pixels at 96 dots per inch and grows with the
// dialog's font.
AboutDialog::AboutDialog(HWND owner)
    : ui::Dialog(IDD_ABOUT, owner),
      LinkFont(CreateFontA(ui::Scaled(8), ui::Scaled(5), 0, 0, FW_DONTCARE, FALSE, TRUE, FALSE,
                           ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif")),
      LinkCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR))) {}

AboutDialog::~AboutDialog() {
    if (LinkFont) DeleteObject(LinkFont);
}

void AboutDialog::Exchange(ui::DataExchange& exchange) {
    exchange.Attach(IDC_QUICK_HELP, QuickHelpButton);
    exchange.Attach(IDCANCEL, OkButton);
    exchange.Attach(IDC_WEB_LINK, WebLink);
    exchange.Attach(IDC_FEEDBACK_LINK, FeedbackLink);
}

BOOL AboutDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    WebLink.Send(WM_SETFONT, reinterpret_cast<WPARAM>(LinkFont), TRUE);
    FeedbackLink.Send(WM_SETFONT, reinterpret_cast<WPARAM>(LinkFont), TRUE);
    CentreOverOwner(Handle());
    return TRUE;
}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(w))) return TRUE;
        break;
    case WM_DRAWITEM:
        // The flat buttons paint themselves; only the links are drawn here.
        DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
    }
    return ui::Dialog::HandleMessage(message, w, l);
}

bool AboutDialog::OnCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_FEEDBACK_LINK:
            OpenLink("mailto:" VEK_FEEDBACK_ADDRESS);
            return true;
        case IDC_WEB_LINK:
            OpenLink(VEK_WEB_ADDRESS VEK_WEB_QUERY);
            return true;
        case IDC_QUICK_HELP:
            ShowQuickHelp();
            return true;
        }
    }
    return ui::Dialog::OnCommand(id, code);
}

BOOL AboutDialog::OnSetCursor(HWND under) {
    if (!under || (under != WebLink.Handle() && under != FeedbackLink.Handle())) return FALSE;
    SetCursor(LinkCursor);
    SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// The address in blue, cyan while the link is held down. Nothing else is
// drawn: no background, no focus frame.
void AboutDialog::DrawLink(const DRAWITEMSTRUCT& item) const {
    const char* address = item.CtlID == IDC_FEEDBACK_LINK ? kFeedbackAddress
                          : item.CtlID == IDC_WEB_LINK    ? kWebAddress
                                                          : nullptr;
    if (!address) return;
    SetTextColor(item.hDC, (item.itemState & ODS_SELECTED) ? kHeldLinkColour : kLinkColour);
    TextOutA(item.hDC, 0, 0, address, lstrlenA(address));
}

void AboutDialog::ShowQuickHelp() {
    QuickHelpDialog help(Handle());
    help.RunModal();
}
