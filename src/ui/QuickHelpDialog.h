#pragma once
// The Quick help dialog: the fixed help text, read-only and not wrapped,
// and "Done", which closes it as the Escape key does.
#include <string>

#include "FlatButton.h"
#include "dialog/Dialog.h"

class QuickHelpDialog : public ui::Dialog {
public:
    explicit QuickHelpDialog(HWND owner);

    FlatButton DoneButton;
    std::string HelpText;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l) override;
    BOOL OnInitDialog() override;
    void Exchange(ui::DataExchange& exchange) override;
};
