// Process entry: everything else lives in the product library.
#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return mw::RunApplication(instance, GetCommandLineW());
}
