// The About box, from the "About..." button and the system menu.
#include "AboutDialog.h"
#include "LookupDialog.h"

void LookupDialog::ShowAboutBox() {
    AboutDialog about(Handle());
    about.RunModal();
}
