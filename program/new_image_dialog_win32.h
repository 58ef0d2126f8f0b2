#pragma once
#include <windows.h>

#include "app/settings.h"
#include "program/folder_image.h"
#include "resources/main_dialog_ids.h"
#include "ui/my_dialog_win32.h"

// File > New Image from Folder: the folder, the format (every format Vorlix knows,
// 1440 kB first chosen), the description and the image to make. OK ends it with IDOK
// and `Request()` filled; the main dialog makes the image.
class NewImageDialog : public CMyDialog {
public:
    NewImageDialog(HWND parent, const PlatformInfo& platform) : CMyDialog(IDD_NEW_IMAGE, parent), platform_(platform) {}

    const char* ClassName() const override { return "NewImageDialog"; }
    const FolderImageRequest& Request() const { return request_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void BrowseFolder();
    void BrowseImage();

    const PlatformInfo& platform_;
    FolderImageRequest request_;
};
