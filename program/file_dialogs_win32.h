#pragma once
#include <windows.h>

#include <string>

#include "app/settings.h"
#include "platform/user_message.h"

// The two browse dialogs of the main dialog. Each returns true with the chosen full path
// (at most 259 characters), false when the user cancelled.

// "Open Image File", with an area under the file list that shows the description stored
// in the selected image. `sink` shows the trailer reader's warnings while browsing.
bool BrowseImageToWrite(HWND owner, const PlatformInfo& platform, MessageSink& sink, std::string& path);

// The same for File > Check Image and Convert Image, under `title`: images of all three
// kinds, self-extracting ones included.
bool BrowseImageOfAnyKind(HWND owner, const PlatformInfo& platform, MessageSink& sink, const char* title,
                          std::string& path);

// "Save Image File" with the three image kinds; `filterIndex` (1..3) preselected. Asks no
// overwrite question: Start does.
bool BrowseImageToCreate(HWND owner, const PlatformInfo& platform, int filterIndex, std::string& path);
