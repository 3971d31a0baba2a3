#pragma once
// The "DNS lookup" window: the whole interface of the program and, at the
// same time, the lookup state that the engine and the report work on.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "FlatButton.h"
#include "LookupState.h"
#include "dialog/Control.h"
#include "dialog/Dialog.h"
#include "ReportView.h"

class LookupDialog : public ui::Dialog, public LookupState {
public:
    LookupDialog();
    ~LookupDialog() override;

    HMENU RootServerMenu;
    int AutoStart = 0;  // non-zero starts a TCP lookup once the window is up
    HICON AppIcon;

    FlatButton TargetButton;
    FlatButton SaveButton;
    FlatButton RootServerButton;
    FlatButton AboutButton;
    ui::Control StatusLine;
    FlatButton TcpLookupButton;
    FlatButton WinsockLookupButton;
    ui::ReportView OutputView;
    ui::Control TargetEdit;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l) override;
    BOOL OnInitDialog() override;
    void Exchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;
    // Run on the worker thread, these hand over to the interface thread.
    // The finished report is moved into the report control: between
    // lookups ReportText is empty, and an exchange to members fills it
    // from the control.
    void RefreshControls() override;
    void ShowFinishedReport() override;
    void SetBusy(int busy) override;

private:
    // A running lookup hands its refresh (lParam: the report to show, a
    // std::string the receiver deletes) and its SetBusy (wParam: the state)
    // to the interface thread.
    static constexpr UINT kLookupRefresh = WM_APP + 1;
    static constexpr UINT kLookupBusy = WM_APP + 2;

    // Lookup control (LookupControl.cpp).
    void OnTcpLookup();
    void OnWinsockLookup();
    void OnPasteTarget();
    static void TcpLookupThread(LookupDialog* dialog);
    static void WinsockLookupThread(LookupDialog* dialog);
    void StartWorker(void (*thread)(LookupDialog*));
    void ShowBusy(int busy);
    void TakeChosenServer();
    bool HandOverReport(std::unique_ptr<std::string>& report);
    void OnLookupRefresh(std::string* report);

    // Root-server menu (RootServerMenu.cpp).
    void OnRootServerButton();
    void OnRootServer(int command);

    // Settings and window placement (Settings.cpp, WindowPlacement.cpp).
    void LoadWindowRect(RECT& rect);
    void SaveWindowRect(const RECT& rect);
    void LoadOptions();
    void SaveOptions();
    void OnClose();
    void OnWindowPosChanging(WINDOWPOS& position);

    // Saving the report (SaveReport.cpp).
    void SaveReport();

    // About box (AboutBox.cpp).
    void ShowAboutBox();

    // Window housekeeping (LookupDialog.cpp).
    BOOL OnSysCommand(WPARAM command);
    BOOL OnPaint();
    void ExtendSystemMenu();
    void SetTabStops();

    DWORD interfaceThread_ = 0;
    // The report a worker's refresh hands over; shown in place of ReportText
    // while the worker owns that member.
    std::unique_ptr<std::string> handedReport_;
    HANDLE refreshShown_;  // signalled once a handed-over report is shown
    // A root server chosen while a lookup runs, for Server once it has ended.
    std::optional<std::string> chosenServer_;
};
