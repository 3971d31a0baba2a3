// The window's rectangle between runs and its sizing. Placeholder: the
// template's rectangle stays and resizing moves nothing.
#include "LookupDialog.h"

void LookupDialog::LoadWindowRect(RECT&) {}

void LookupDialog::SaveWindowRect(const RECT&) {}

void LookupDialog::OnWindowPosChanging(WINDOWPOS&) {}
