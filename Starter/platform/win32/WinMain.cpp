// The program's entry point: loads the main form and runs the message loop.
#include "platform/Win32Api.h"

#include "core/StarterMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunStarter();
}
