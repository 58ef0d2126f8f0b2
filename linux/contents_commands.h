#pragma once
#include "linux/command_arguments.h"
#include "linux/terminal_commands.h"

// The commands over a disk's FAT volume: list, extract, make. Each returns the process's
// exit status, having shown every refusal and failure through the context's sink.
int ListContents(const Arguments& arguments, TerminalContext& context);
int ExtractContents(const Arguments& arguments, TerminalContext& context);
int MakeVolume(const Arguments& arguments, TerminalContext& context);
