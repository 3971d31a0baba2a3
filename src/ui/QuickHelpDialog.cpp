#include "QuickHelpDialog.h"

#include "CentreOverOwner.h"
#include "QuickHelpText.h"
#include "dialog/DataExchange.h"
#include "resource.h"

QuickHelpDialog::QuickHelpDialog(HWND owner) : ui::Dialog(IDD_QUICK_HELP, owner), HelpText(kQuickHelpText) {}

void QuickHelpDialog::Exchange(ui::DataExchange& exchange) {
    exchange.Attach(IDCANCEL, DoneButton);
    if (!exchange.ToMembers()) exchange.Text(IDC_HELP_TEXT, HelpText);
}

BOOL QuickHelpDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    CentreOverOwner(Handle());
    return TRUE;
}

INT_PTR QuickHelpDialog::HandleMessage(UINT message, WPARAM w, LPARAM l) {
    // "Done" paints itself; its owner-draw requests draw nothing.
    if (message == WM_DRAWITEM) return TRUE;
    return ui::Dialog::HandleMessage(message, w, l);
}
