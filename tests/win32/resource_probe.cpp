// A program that carries the main program's resources and nothing else. The tests never
// run it: they open it as a data file and look at it the way the shell and Explorer do.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
