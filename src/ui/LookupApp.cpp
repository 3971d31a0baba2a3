#include "LookupApp.h"

#include <cstring>
#include <memory>

#include "LookupDialog.h"
#include "Texts.h"
#include "sockets/Sockets.h"

int LookupApp::Run(const char* commandTail) {
    if (!StartSockets()) {
        ReportSocketsFailure();
        return 1;
    }
    LoadLibraryA("RICHED32.DLL");
    auto dialog = std::make_unique<LookupDialog>();
    dialog->Target = commandTail ? commandTail : "";
    dialog->AutoStart = static_cast<int>(dialog->Target.size());
    dialog->RunModal();
    if (dialog->Busy) {
        // The window closed while a lookup runs: stop the exchange and end
        // the program at once, without waiting for the worker (a resolver
        // call cannot be cut short) and without destroying the state it
        // still uses.
        dialog->Interrupt();
        dialog.release();
        ExitProcess(0);
    }
    dialog.reset();
    net::Cleanup();
    return 0;
}

// Windows Sockets 1.1 exactly; any other version is released again.
bool LookupApp::StartSockets() {
    int major = 0, minor = 0;
    return net::Startup(major, minor);
}

// The message box's caption is the executable's file name without extension.
void LookupApp::ReportSocketsFailure() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    std::string title = name ? name + 1 : path;
    std::size_t dot = title.rfind('.');
    if (dot != std::string::npos) title.resize(dot);
    MessageBoxA(nullptr, TextOf(kSocketsInitFailed), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}
