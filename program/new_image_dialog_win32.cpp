#include "program/new_image_dialog_win32.h"

#include "engine/device/floppy_type.h"
#include "platform/resource_texts_win32.h"
#include "program/file_dialogs_win32.h"
#include "program/folder_chooser_win32.h"
#include "resources/string_ids.h"
#include "ui/item_text_win32.h"

namespace {

constexpr int kDefaultKilobytes = 1440;

}  // namespace

bool NewImageDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    for (uint32_t i = 0; i < count; ++i) {
        const LRESULT index = SendItem(IDC_NEW_IMAGE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(types[i].name));
        const int kilobytes = static_cast<int>(types[i].totalBytes / 1024);
        SendItem(IDC_NEW_IMAGE_FORMAT, CB_SETITEMDATA, static_cast<WPARAM>(index), kilobytes);
        if (kilobytes == kDefaultKilobytes) SendItem(IDC_NEW_IMAGE_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(index));
    }
    return true;
}

bool NewImageDialog::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == IDC_NEW_IMAGE_FOLDER_BROWSE) {
        BrowseFolder();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_NEW_IMAGE_PATH_BROWSE) {
        BrowseImage();
        return true;
    }
    return CMyDialog::OnCommand(id, code, control);
}

void NewImageDialog::BrowseFolder() {
    ResourceTexts texts;
    std::string folder;
    if (ChooseFolder(hwnd_, texts.Text(IDS_MAKE_CHOOSE_FOLDER), folder)) ::SetItemText(hwnd_, IDC_NEW_IMAGE_FOLDER, folder);
}

void NewImageDialog::BrowseImage() {
    std::string path;
    if (BrowseImageToCreate(hwnd_, platform_, 1, path)) ::SetItemText(hwnd_, IDC_NEW_IMAGE_PATH, path);
}

void NewImageDialog::OnOK() {
    request_.folder = ItemText(hwnd_, IDC_NEW_IMAGE_FOLDER);
    request_.image = ItemText(hwnd_, IDC_NEW_IMAGE_PATH);
    request_.description = ItemText(hwnd_, IDC_NEW_IMAGE_DESCRIPTION);
    const LRESULT chosen = SendItem(IDC_NEW_IMAGE_FORMAT, CB_GETCURSEL);
    request_.kilobytes = chosen == CB_ERR ? kDefaultKilobytes
                                          : static_cast<int>(SendItem(IDC_NEW_IMAGE_FORMAT, CB_GETITEMDATA,
                                                                      static_cast<WPARAM>(chosen)));
    EndDialog(IDOK);
}
