#pragma once
#include <windows.h>

#include <string>

#include "platform/user_message.h"
#include "program/image_files.h"
#include "resources/main_dialog_ids.h"
#include "ui/my_dialog_win32.h"

// A disk's files: the volume line, one row per file and folder (path, size, modified,
// attributes, damaged) and Extract for the selected rows, or all with none selected.
class ContentsDialog : public CMyDialog {
public:
    // `files` is open and stays the caller's; `sink` tells what extracting refused.
    ContentsDialog(HWND parent, const ImageFiles& files, const std::string& source, MessageSink& sink)
        : CMyDialog(IDD_CONTENTS, parent), files_(files), source_(source), sink_(sink) {}

    const char* ClassName() const override { return "ContentsDialog"; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void FillList();
    void Extract();

    const ImageFiles& files_;
    const std::string source_;
    MessageSink& sink_;
};

// File > Show Contents and "/l": the dialog over the image's files; -1 when the image
// holds none that can be shown (the user has been told).
int ShowImageContents(HWND parent, const std::string& image, MessageSink& sink);
