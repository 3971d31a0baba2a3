// The options kept between runs, and the closing of the window, which keeps
// them together with the window's rectangle.
#include "LookupDialog.h"
#include "SettingsStore.h"

namespace {
// Lines of the query-type list; a stored index outside them selects none.
constexpr int kQueryTypeCount = 0
#define Q(line) +1
#include "query_types.def"
#undef Q
    ;
}  // namespace

void LookupDialog::LoadOptions() {
    QueryTypeIndex = SettingsStore::ReadOptionInt("Type", 1);
    if (QueryTypeIndex < 0 || QueryTypeIndex >= kQueryTypeCount) QueryTypeIndex = -1;
    Recursive = SettingsStore::ReadOptionInt("Recursive", 1);
    DetailedErrors = SettingsStore::ReadOptionInt("Detailed errors", 0);
    Server = SettingsStore::ReadOptionText("DNS server", "");
}

void LookupDialog::SaveOptions() {
    SettingsStore::WriteOptionInt("Type", QueryTypeIndex);
    SettingsStore::WriteOptionInt("Recursive", Recursive);
    SettingsStore::WriteOptionInt("Detailed errors", DetailedErrors);
    SettingsStore::WriteOptionText("DNS server", Server);
}

// The rectangle kept is the one the window has when restored, so that a
// window closed while minimised or maximised comes back in its normal place.
void LookupDialog::OnClose() {
    SaveWindowRect(SettingsStore::RestoredWindowRect(Handle()));
    UpdateData(true);
    SaveOptions();
}
