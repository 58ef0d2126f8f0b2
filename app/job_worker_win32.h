#pragma once
#include <windows.h>

// The thread procedures of the two jobs, for CreateThread with the main dialog's
// JobContext as the parameter. Each runs its job over the platform's floppy method with
// the process's settings, shows the job's messages in message boxes and posts its
// notices to the context's notify window; it returns 0 however the job ends.
DWORD WINAPI ReadFloppyWorker(LPVOID jobContext);
DWORD WINAPI WriteFloppyWorker(LPVOID jobContext);
