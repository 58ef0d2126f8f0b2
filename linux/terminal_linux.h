#pragma once
#include <string>

// stderr is a terminal.
bool ErrorIsTerminal();

// Columns of the terminal on stderr, 80 when it does not say.
int ErrorTerminalWidth();

#include <functional>

// Asks `question` on the controlling terminal: 1 for an answer beginning with y or Y,
// 0 for any other or once `cancelled` says so (Ctrl-C while it waits), -1 when there is
// no terminal.
int AskOnTerminal(const std::string& question, const std::function<bool()>& cancelled);

// The file carrying the restorer stub: $VORLIX_RESTORER when set, else vorlix.exe in
// share/vorlix beside the bin folder that holds this program.
std::string RestorerStubCarrier();
