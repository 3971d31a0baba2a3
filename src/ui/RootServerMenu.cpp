// The root-server menu of the "Set root server" button. Placeholder: the
// menu does not open yet.
#include "LookupDialog.h"

void LookupDialog::OnRootServerButton() {}

void LookupDialog::OnRootServer(int) {}
