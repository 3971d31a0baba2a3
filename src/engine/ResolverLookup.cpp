#include "LookupState.h"

void LookupState::ResolverLookup() {
    ReportText = "resolver lookup is not built yet";
    RefreshControls();
    SetBusy(0);
}
