#include <windows.h>

#include "LookupApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
    LookupApp app;
    return app.Run(commandTail);
}
