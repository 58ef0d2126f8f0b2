#include "online/message_dialog_win32.h"

#include "online/server_paths.h"
#include "resources/online_dialog_ids.h"

MessageDialog::MessageDialog(HWND parent)
    : FetchDialog(IDD_MESSAGE, IDC_MESSAGE_TEXT, kMessageFilePath, &MessageView, parent) {}

void ShowMessageDialog(HWND parent) {
    MessageDialog dialog(parent);
    dialog.DoModal();
}
