#include "online/update_check_dialog_win32.h"

#include "online/server_paths.h"
#include "resources/online_dialog_ids.h"

UpdateCheckDialog::UpdateCheckDialog(HWND parent)
    : FetchDialog(IDD_UPDATE_CHECK, IDC_UPDATE_HISTORY, kVersionFilePath, &UpdateCheckView, parent) {}

void ShowUpdateCheckDialog(HWND parent) {
    UpdateCheckDialog dialog(parent);
    dialog.DoModal();
}
