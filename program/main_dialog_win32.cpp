#include "program/main_dialog_win32.h"

#include <shellapi.h>

#include "app/command_line.h"
#include "app/exit_status.h"
#include "app/hand_over_win32.h"
#include "app/settings.h"
#include "app/window_position.h"
#include "engine/fat/ansi_names_win32.h"
#include "online/feedback_dialog_win32.h"
#include "online/message_dialog_win32.h"
#include "online/update_check_dialog_win32.h"
#include "platform/registry_key_win32.h"
#include "program/about_dialog_win32.h"
#include "program/command_line_help_dialog_win32.h"
#include "program/contents_dialog_win32.h"
#include "program/file_dialogs_win32.h"
#include "program/image_files.h"
#include "program/key_filter.h"
#include "program/new_image_dialog_win32.h"
#include "program/settings_sheet_win32.h"
#include "resources/main_dialog_ids.h"
#include "ui/item_text_win32.h"
#include "ui/transparent_bitmap_win32.h"

namespace {

// Where the panel pictures go, in client pixels.
const POINT kReadBitmapPlace = {32, 33};
const POINT kWriteBitmapPlace = {32, 157};
const COLORREF kBitmapKey = RGB(255, 255, 255);

// "/x" runs without a window: its exit status alone tells whether everything came out whole.
class SilentSink final : public MessageSink {
public:
    MessageAnswer Show(const UserMessage&) override { return MessageAnswer::No; }
};

void Reflect(const CWindow& dialog, int id, const ControlState& state) {
    HWND control = dialog.Item(id);
    if (control == NULL) return;
    SetWindowTextA(control, state.text.c_str());
    EnableWindow(control, state.enabled);
    ShowWindow(control, state.visible ? SW_SHOW : SW_HIDE);
}

}  // namespace

MainDialog::MainDialog(FloppyDeviceFactory& devices, CInstanceChecker& checker,
                       ShellEnvironment& shell, const CommandLineRequest& request)
    : CMyDialog(IDD_MAIN),
      instanceChecker_(checker),
      shell_(shell),
      request_(request),
      jobs_(*this, *this, devices),
      startHost_(*this, jobs_),
      model_(TheSettings(), startHost_) {
    model_.diskChanged = [this](unsigned number) { jobs_.ShowDisk(number); };
}

MainDialog::~MainDialog() {
    jobs_.WaitForWorker();
    if (icon_ != NULL) DestroyIcon(icon_);
}

// ---------------------------------------------------------------------------------------
// Start-up

bool MainDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    SetMainWindow(hwnd_);
    instanceChecker_.SetMainWindow(hwnd_);
    instanceChecker_.PublishMainWindow();
    RestoreWindowPosition();
    model_.fields.description.clear();
    model_.fields.commandLineMode = false;
    icon_ = static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    readBitmap_.Reset(LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(IDB_READ_FLOPPY)));
    writeBitmap_.Reset(LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(IDB_WRITE_FLOPPY)));
    return HandleCommandLine();
}

bool MainDialog::HandleCommandLine() {
    switch (request_.startCase) {
    case StartCase::NoArguments:
        return true;
    case StartCase::ImageArgument:
        if (model_.OpenImageArgument(request_.imagePath) != 0) {
            EndStart(kExitRefused);
            return true;
        }
        ReflectPanels();
        return true;
    case StartCase::CommandLineMode:
        break;
    }
    model_.fields.commandLineMode = true;
    if (request_.switchesResult != 0) {
        CommandLineHelpDialog().DoModal();
        EndStart(kExitRefused);
        return true;
    }
    const bool contents = request_.job == CommandLineJob::List || request_.job == CommandLineJob::Extract;
    EndStart(contents ? RunContentsCommand() : model_.RunCommandLine(request_));
    return true;
}

int MainDialog::RunContentsCommand() {
    if (request_.job == CommandLineJob::List) {
        return ShowImageContents(hwnd_, request_.imagePath, startHost_.Messages()) == 0 ? kExitJobDone
                                                                                         : kExitJobNotDone;
    }
    SilentSink silent;
    return ExtractAllFiles(request_.imagePath, Utf8OfAnsi(request_.folder), silent);
}

// The dialog closes before it is ever shown, and the process ends with `status` once a
// cancelled job's worker has ended.
void MainDialog::EndStart(int status) {
    jobs_.WaitForWorker();
    startStatus_ = status;
    EndDialog(status);
}

void MainDialog::RestoreWindowPosition() {
    SystemRegistryKey key;
    std::optional<WindowCorner> corner = ReadWindowPosition(key);
    if (!corner) return;
    SetWindowPos(hwnd_, HWND_TOP, corner->left, corner->top, 0, 0, SWP_NOSIZE);
}

void MainDialog::SaveWindowPosition() {
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd_, &placement)) return;
    SystemRegistryKey key;
    WriteWindowPosition(key, {placement.rcNormalPosition.left, placement.rcNormalPosition.top});
}

// ---------------------------------------------------------------------------------------
// Messages

INT_PTR MainDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        // One of the messages whose answer a dialog procedure returns directly.
        return reinterpret_cast<INT_PTR>(icon_);
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_COPYDATA:
        if (!OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) break;
        SetMessageResult(TRUE);
        return TRUE;
    case WM_READ_PROGRESS:
        jobs_.OnNotice(JobKind::Read, wParam);
        return TRUE;
    case WM_WRITE_PROGRESS:
        jobs_.OnNotice(JobKind::Write, wParam);
        return TRUE;
    case WM_ENDSESSION:
        // A job under way is cancelled and waited for, and the process ends as a cancelled
        // unattended job ends, before the session takes it. Without a job the session
        // simply ends.
        if (wParam != 0 && jobs_.EndSession()) {
            instanceChecker_.EndStartupLock();
            ExitProcess(static_cast<UINT>(kExitCancelled));
        }
        break;
    case WM_DESTROY:
        // A dialog that start-up ended was never shown, nor moved.
        if (!startStatus_) SaveWindowPosition();
        break;
    }
    return CMyDialog::WindowProc(message, wParam, lParam);
}

bool MainDialog::OnCommand(int id, int code, HWND control) {
    if (control != NULL && code != BN_CLICKED) return CMyDialog::OnCommand(id, code, control);
    switch (id) {
    case IDC_READ_BROWSE:
        BrowseRead();
        return true;
    case IDC_WRITE_BROWSE:
        BrowseWrite();
        return true;
    case IDC_READ_START:
        Start(JobKind::Read);
        return true;
    case IDC_WRITE_START:
        Start(JobKind::Write);
        return true;
    case ID_CHECK_IMAGE:
        CheckImage();
        return true;
    case ID_CONVERT_IMAGE:
        ConvertImage();
        return true;
    case ID_SHOW_CONTENTS:
        ShowContents();
        return true;
    case ID_NEW_IMAGE_FROM_FOLDER:
        NewImageFromFolder();
        return true;
    case ID_APP_EXIT:
        EndDialog(IDCANCEL);
        return true;
    case ID_SETTINGS:
        OnSettings();
        return true;
    case ID_COMMAND_LINE_HELP:
        CommandLineHelpDialog(hwnd_).DoModal();
        return true;
    case ID_APP_ABOUT:
        ShowAboutDialog(hwnd_);
        return true;
    // The online dialogs (online/).
    case ID_CHECK_FOR_UPDATES:
        ShowUpdateCheckDialog(hwnd_);
        return true;
    case ID_FEEDBACK:
        ShowFeedbackDialog(hwnd_);
        return true;
    case ID_COMMUNICATOR:
        ShowMessageDialog(hwnd_);
        return true;
    default:
        return CMyDialog::OnCommand(id, code, control);
    }
}

void MainDialog::OnOK() {}

bool MainDialog::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN) {
        HWND focus = GetFocus();
        int focusId = focus != NULL && IsChild(hwnd_, focus) ? GetDlgCtrlID(focus) : 0;
        switch (FilterMainDialogKey(message.message, static_cast<unsigned>(message.wParam), focusId)) {
        case KeyAction::Swallow:
            return true;
        case KeyAction::FocusReadStartThenPass:
            Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_READ_START)), TRUE);
            break;
        case KeyAction::Pass:
            break;
        }
    }
    return CMyDialog::PreTranslateMessage(message);
}

void MainDialog::OnSettings() {
    SystemRegistryKey key;
    RunSettingsSheet(*this, key, shell_);
}

// ---------------------------------------------------------------------------------------
// Panels

void MainDialog::ReflectPanels() {
    // The description edit is the one control the user types into: keep its text.
    const PanelState& panels = model_.panels;
    Reflect(*this, IDC_WRITE_PATH, panels.writePath);
    Reflect(*this, IDC_WRITE_DESCRIPTION, panels.writeDescription);
    Reflect(*this, IDC_WRITE_FORMAT, panels.writeFormat);
    EnableItem(IDC_WRITE_START, panels.writeStart.enabled);
    Reflect(*this, IDC_READ_PATH, panels.readPath);
    Reflect(*this, IDC_READ_DESCRIPTION, panels.readDescription);
    EnableItem(IDC_READ_START, panels.readStart.enabled);
    InvalidateRect(hwnd_, NULL, TRUE);
}

void MainDialog::BrowseWrite() {
    std::string path;
    if (!BrowseImageToWrite(hwnd_, ThePlatform(), startHost_.Messages(), path)) return;
    if (model_.AcceptImageToWrite(path) == 0) ReflectPanels();
}

void MainDialog::BrowseRead() {
    std::string path;
    if (!BrowseImageToCreate(hwnd_, ThePlatform(), model_.saveFilterIndex, path)) return;
    model_.panels.readDescription.text = ItemText(hwnd_, IDC_READ_DESCRIPTION);
    if (model_.AcceptReadTarget(path) == 0) ReflectPanels();
}

void MainDialog::CheckImage() {
    std::string path;
    if (!BrowseImageOfAnyKind(hwnd_, ThePlatform(), startHost_.Messages(), "Check Image File", path)) {
        return;
    }
    model_.CheckImage(path);
}

// The Read Floppy panel says where the new image goes and what it is called; without a
// target yet the save dialog asks for one first.
void MainDialog::ConvertImage() {
    if (model_.fields.readImagePath.empty()) {
        BrowseRead();
        if (model_.fields.readImagePath.empty()) return;
    }
    std::string source;
    if (!BrowseImageOfAnyKind(hwnd_, ThePlatform(), startHost_.Messages(), "Convert Image File",
                              source)) {
        return;
    }
    model_.panels.readDescription.text = ItemText(hwnd_, IDC_READ_DESCRIPTION);
    model_.ConvertImage(source);
}

// The image in the Write Floppy panel; without one the disk in the drive, read into a
// raw image in the temporary folder that goes (with a map an emergency read made) after.
void MainDialog::ShowContents() {
    if (!model_.fields.writeImagePath.empty()) {
        ShowImageContents(hwnd_, model_.fields.writeImagePath, startHost_.Messages());
        return;
    }
    char folder[MAX_PATH] = "";
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string image = std::string(folder) + "vorlix-contents-" + std::to_string(GetCurrentProcessId()) + ".img";
    if (model_.ReadDiskInto(image) == kJobFinished) ShowImageContents(hwnd_, image, startHost_.Messages());
    DeleteFileA(image.c_str());
    DeleteFileA((image + ".map").c_str());
}

void MainDialog::NewImageFromFolder() {
    NewImageDialog dialog(hwnd_, ThePlatform());
    if (dialog.DoModal() != IDOK) return;
    model_.MakeImageFromFolder(dialog.Request());
}

void MainDialog::Start(JobKind kind) {
    if (kind == JobKind::Read) {
        model_.panels.readDescription.text = ItemText(hwnd_, IDC_READ_DESCRIPTION);
        if (IsItemChecked(IDC_READ_SEVERAL)) {
            model_.StartBatch(model_.fields.readImagePath, model_.panels.readDescription.text);
        } else {
            model_.StartRead();
        }
    } else {
        model_.StartWrite();
    }
}

void MainDialog::OnDropFiles(HDROP drop) {
    // Only the first file counts. Its name is asked for at its full length, so that a
    // name too long for the jobs is refused rather than cut short.
    UINT length = DragQueryFileA(drop, 0, NULL, 0);
    std::string path(length + 1, '\0');
    UINT copied = DragQueryFileA(drop, 0, &path[0], length + 1);
    DragFinish(drop);
    if (length == 0 || copied == 0) return;
    path.resize(copied);
    if (model_.AcceptImageToWrite(path) == 0) ReflectPanels();
}

bool MainDialog::OnCopyData(const COPYDATASTRUCT* block) {
    // The block belongs to the sender: HandedOverImagePath copies the path out first.
    std::optional<std::string> path = HandedOverImagePath(block);
    if (!path) return false;
    if (model_.AcceptImageToWrite(*path) != 0) return true;
    ReflectPanels();
    return false;
}

void MainDialog::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == NULL) return;
    if (IsIconic(hwnd_)) {
        RECT client;
        GetClientRect(hwnd_, &client);
        int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
        DrawIcon(dc, x, y, icon_);
    } else {
        PaintTransparentBitmap(dc, readBitmap_.Get(), kReadBitmapPlace.x, kReadBitmapPlace.y, kBitmapKey);
        PaintTransparentBitmap(dc, writeBitmap_.Get(), kWriteBitmapPlace.x, kWriteBitmapPlace.y, kBitmapKey);
    }
    EndPaint(hwnd_, &paint);
}
