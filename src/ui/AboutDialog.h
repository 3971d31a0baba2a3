#pragma once
// The About box: the version and notice lines, the feedback mail and
// web-site links (underlined blue text under a hand pointer), "OK" and
// "Quick help".
#include "FlatButton.h"
#include "dialog/Control.h"
#include "dialog/Dialog.h"

class AboutDialog : public ui::Dialog {
public:
    explicit AboutDialog(HWND owner);
    ~AboutDialog() override;

    HFONT LinkFont;
    HCURSOR LinkCursor;
    FlatButton QuickHelpButton;
    FlatButton OkButton;
    ui::Control WebLink;
    ui::Control FeedbackLink;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l) override;
    BOOL OnInitDialog() override;
    void Exchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

private:
    BOOL OnSetCursor(HWND under);
    void DrawLink(const DRAWITEMSTRUCT& item) const;
    void ShowQuickHelp();
};
