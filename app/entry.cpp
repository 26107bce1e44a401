// The GUI entry: no console, no use of the command line or the show command.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return velmora::runProgram();
}
