#pragma once
#include "engine/fat/fat_maker.h"
#include "platform/user_message.h"

// Reads a host folder into a tree for MakeFatVolume: `_posix` here, Windows its own.

// Lists `path`'s files and folders into `root` (names, sizes, times, attributes; no
// contents): 0, or -1 after telling `sink` what could not be read.
int ListSourceFolder(const char* path, FatSourceItem* root, MessageSink& sink);

// Reads every file's contents of a listed tree: 0, or -1 after telling `sink`.
int ReadSourceContents(FatSourceItem* root, MessageSink& sink);
