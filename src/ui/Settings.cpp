// The options kept between runs. Placeholder: the defaults stay in force and
// nothing is stored yet.
#include "LookupDialog.h"

void LookupDialog::LoadOptions() {}

void LookupDialog::SaveOptions() {}

// Closing the window keeps its rectangle and the options for the next run.
void LookupDialog::OnClose() {
    RECT rect;
    GetWindowRect(Handle(), &rect);
    SaveWindowRect(rect);
    UpdateData(true);
    SaveOptions();
}
