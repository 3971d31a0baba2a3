// The About box. Placeholder: it does not open yet.
#include "LookupDialog.h"

void LookupDialog::ShowAboutBox() {}
