// Saving the report to a file. Placeholder: nothing is saved yet.
#include "LookupDialog.h"

void LookupDialog::SaveReport() {}
