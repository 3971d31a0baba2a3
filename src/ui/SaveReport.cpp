// Saving the report: the standard save dialog proposes the target of the
// last lookup, and the chosen file gets what the report control shows, with
// every line end as exactly one CR LF, and nothing else (the report-file
// writer that vek-cli uses too). A cancelled dialog does nothing; a file
// that cannot be created is left alone without a word.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LookupDialog.h"
#include "ReportFile.h"
#include "dialog/DataExchange.h"

namespace {

constexpr std::size_t kPathCapacity = 32768;  // the longest path Windows takes

// Runs the save dialog on `path` (the proposed name in, the chosen path
// out); false when it was cancelled or could not be shown.
bool RunSaveDialog(HWND owner, std::vector<char>& path) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Text files\0*.txt\0All files\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = "txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return GetSaveFileNameA(&dialog) != FALSE;
}

// The chosen path, empty when the user cancelled.
std::string AskFileName(HWND owner, const std::string& proposedName) {
    std::vector<char> path(kPathCapacity, '\0');
    proposedName.copy(path.data(), path.size() - 1);
    if (RunSaveDialog(owner, path)) return path.data();
    // A proposed name that no file may have keeps the dialog from opening
    // at all: offer it again without a name then.
    if (CommDlgExtendedError() != FNERR_INVALIDFILENAME) return std::string();
    std::fill(path.begin(), path.end(), '\0');
    return RunSaveDialog(owner, path) ? std::string(path.data()) : std::string();
}

}  // namespace

// The text is taken from the report control itself, not through ReportText:
// while a lookup runs, its worker owns that member.
void LookupDialog::SaveReport() {
    if (!Busy) UpdateData(true);
    const std::string path = AskFileName(Handle(), LookupTarget);
    if (path.empty()) return;
    WriteReportFile(path, ui::WindowText(OutputView.Handle()));
}
