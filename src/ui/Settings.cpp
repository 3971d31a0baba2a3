// The options kept between runs, and the closing of the window, which keeps
// them together with the window's rectangle.
#include "LookupDialog.h"
#include "QueryTypes.h"
#include "SettingsStore.h"
#include "dialog/DataExchange.h"
#include "resource.h"

namespace {

struct Options {
    std::int32_t type;
    int recursive;
    int detailedErrors;
    std::string server;
};

void WriteOptions(const Options& options) {
    SettingsStore::WriteOptionInt("Type", options.type);
    SettingsStore::WriteOptionInt("Recursive", options.recursive);
    SettingsStore::WriteOptionInt("Detailed errors", options.detailedErrors);
    SettingsStore::WriteOptionText("DNS server", options.server);
}

// The options as the controls show them, read without touching the members.
Options ShownOptions(HWND dialog) {
    const ui::DataExchange read(dialog, true);
    Options shown{};
    read.ListIndex(IDC_QUERY_TYPE, shown.type);
    read.Check(IDC_RECURSIVE, shown.recursive);
    read.Check(IDC_DETAILED_ERRORS, shown.detailedErrors);
    read.Text(IDC_SERVER, shown.server);
    return shown;
}

}  // namespace

void LookupDialog::LoadOptions() {
    QueryTypeIndex = SettingsStore::ReadOptionInt("Type", 1);
    if (QueryTypeIndex < 0 || QueryTypeIndex >= kQueryTypeCount) QueryTypeIndex = -1;
    Recursive = SettingsStore::ReadOptionInt("Recursive", 1);
    DetailedErrors = SettingsStore::ReadOptionInt("Detailed errors", 0);
    Server = SettingsStore::ReadOptionText("DNS server", "");
}

void LookupDialog::SaveOptions() {
    WriteOptions({QueryTypeIndex, Recursive, DetailedErrors, Server});
}

// The rectangle kept is the one the window has when restored, so that a
// window closed while minimised or maximised comes back in its normal place.
// While a lookup runs, its worker reads the members: the options are then
// taken from the controls without passing through them.
void LookupDialog::OnClose() {
    SaveWindowRect(SettingsStore::RestoredWindowRect(Handle()));
    if (Busy) {
        WriteOptions(ShownOptions(Handle()));
        return;
    }
    UpdateData(true);
    SaveOptions();
}
