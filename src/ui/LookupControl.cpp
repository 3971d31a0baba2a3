// Starting and interrupting lookups. A lookup runs on a worker thread against
// the dialog's members; the worker never touches a window itself: its refresh
// and its return to idle are posted to the interface thread.

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "LookupDialog.h"
#include "Texts.h"
#include "resource.h"

namespace {
// How long a worker waits for its refresh to be shown before it goes on.
constexpr DWORD kRefreshWaitMs = 10000;
}  // namespace

void LookupDialog::OnTcpLookup() {
    if (Busy) {
        TcpLookupButton.Enable(false);
        TcpLookupButton.SetText(TextOf(kInterrupting));
        Interrupt();
        return;
    }
    UpdateData(true);
    LookupTarget = Target;
    if (Target.empty()) return;
    if (Server.empty()) {
        OnWinsockLookup();
        return;
    }
    SetBusy(1);
    StartWorker(&LookupDialog::TcpLookupThread);
}

void LookupDialog::OnWinsockLookup() {
    UpdateData(true);
    LookupTarget = Target;
    SetBusy(1);
    StartWorker(&LookupDialog::WinsockLookupThread);
}

void LookupDialog::OnPasteTarget() {
    TargetEdit.Send(EM_SETSEL, 0, -1);
    TargetEdit.Send(EM_SCROLLCARET);
    TargetEdit.Send(WM_PASTE);
}

void LookupDialog::TcpLookupThread(LookupDialog* dialog) { dialog->TcpLookup(); }

void LookupDialog::WinsockLookupThread(LookupDialog* dialog) { dialog->ResolverLookup(); }

// The thread is detached: the dialog keeps no reference to it. A thread that
// cannot be started leaves the dialog idle again.
void LookupDialog::StartWorker(void (*thread)(LookupDialog*)) {
    try {
        std::thread(thread, this).detach();
    } catch (const std::system_error&) {
        ShowBusy(0);
    }
}

void LookupDialog::SetBusy(int busy) {
    if (GetCurrentThreadId() == interfaceThread_)
        ShowBusy(busy);
    else
        PostMessageA(Handle(), kLookupBusy, static_cast<WPARAM>(busy), 0);
}

void LookupDialog::ShowBusy(int busy) {
    WinsockLookupButton.Enable(busy == 0);
    TcpLookupButton.Enable(true);
    TcpLookupButton.SetText(TextOf(busy ? kInterruptButton : kTcpLookupButton));
    LookupState::SetBusy(busy);
    if (!busy) TakeChosenServer();
}

// A root server chosen while the lookup ran outlasts the lookup's own
// refresh of the fields, which showed the server it started with.
void LookupDialog::TakeChosenServer() {
    if (!chosenServer_) return;
    Server = *chosenServer_;
    chosenServer_.reset();
    SetDlgItemTextA(Handle(), IDC_SERVER, Server.c_str());
}

// On the worker thread the report is handed over as a copy, and the worker
// waits (bounded) until it is on screen, so that a progress text shows
// before the long work that follows it.
void LookupDialog::RefreshControls() {
    if (GetCurrentThreadId() == interfaceThread_) return UpdateData(false);
    auto report = std::make_unique<std::string>(ReportText);
    HandOverReport(report);
}

// A finished report can be large: it is handed over whole, without a copy.
void LookupDialog::ShowFinishedReport() {
    if (GetCurrentThreadId() == interfaceThread_) return UpdateData(false);
    auto report = std::make_unique<std::string>(std::move(ReportText));
    if (!HandOverReport(report)) ReportText = std::move(*report);
}

// Posts the report to the interface thread, which then owns it; false (and
// the report still here) when it cannot be posted.
bool LookupDialog::HandOverReport(std::unique_ptr<std::string>& report) {
    if (!PostMessageA(Handle(), kLookupRefresh, 0, reinterpret_cast<LPARAM>(report.get())))
        return false;
    report.release();
    WaitForSingleObject(refreshShown_, kRefreshWaitMs);
    return true;
}

void LookupDialog::OnLookupRefresh(std::string* report) {
    handedReport_.reset(report);
    UpdateData(false);
    handedReport_.reset();
    UpdateWindow(OutputView.Handle());
    SetEvent(refreshShown_);
}
