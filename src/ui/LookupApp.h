#pragma once
// The application: starts Windows Sockets, prepares the rich-edit library,
// runs the lookup dialog modally and ends the program when it closes.
#include <windows.h>

class LookupApp {
public:
    // commandTail: the command line after the program's name, unparsed.
    // Returns the process exit code.
    int Run(const char* commandTail);

private:
    static bool StartSockets();
    static void ReportSocketsFailure();
};
