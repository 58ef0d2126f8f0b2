#pragma once
#include "online/internet_check.h"

// The Internet test against the program's WinINet binding: binds the library at its
// first use (WININET.DLL, every function the program calls) and asks
// InternetGetConnectedState, whose connection kinds are not used. 0 to go on, or -1
// after the information message.
int InternetCheck(MessageSink& sink);
