#pragma once
#include <functional>

#include "linux/batch_read.h"

// The batch's questions on stderr, its answers from standard input (a terminal or a
// pipe), the system's clock and folders. `cancelled` says Ctrl-C came.
BatchTerminal SystemBatchTerminal(std::function<bool()> cancelled);
