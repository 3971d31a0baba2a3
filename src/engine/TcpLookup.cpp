#include "LookupState.h"

void LookupState::TcpLookup() {
    ReportText = "TCP lookup is not built yet";
    RefreshControls();
    SetBusy(0);
}
void LookupState::Interrupt() { InterruptRequested = 1; }
