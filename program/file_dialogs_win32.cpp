#include "program/file_dialogs_win32.h"

#include <commdlg.h>
#include <string.h>

#include "engine/image/image_trailer.h"
#include "resources/main_dialog_ids.h"
#include "ui/window_win32.h"

namespace {

// The headers' record is the one Windows 2000 and Me know; older systems refuse it and
// take only its first part, up to the template name.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEA) == 88, "the record with the Windows 2000 tail");

const char kPreviewContext[] = "Vorlix.DescriptionPreview";
constexpr int kPathBufferSize = MAX_PATH;

struct PreviewContext {
    MessageSink* sink;
    bool newerLayout;
};

bool NewerDialogs(const PlatformInfo& platform) {
    return platform.ntMajorVersion > 4 || platform.isWindowsMe;
}

void ShowDescription(HWND area, const char* description) {
    bool show = description != nullptr;
    if (show) SetDlgItemTextA(area, IDC_PREVIEW_VALUE, description);
    ShowWindow(GetDlgItem(area, IDC_PREVIEW_LABEL), show ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(area, IDC_PREVIEW_VALUE), show ? SW_SHOW : SW_HIDE);
}

void PreviewSelection(HWND area, PreviewContext& context) {
    char path[kPathBufferSize];
    LRESULT length = SendMessageA(GetParent(area), CDM_GETFILEPATH, sizeof path,
                                  reinterpret_cast<LPARAM>(path));
    if (length <= 0 || length > static_cast<LRESULT>(sizeof path)) return;  // does not fit
    char description[kDescriptionBufferSize] = "";
    int sectorsPerTrack = 0;
    int result = ReadImageTrailer(path, *context.sink, description, &sectorsPerTrack);
    ShowDescription(area, result == kTrailerRead ? description : nullptr);
}

// The value field follows the width of the area, never narrower than its template width.
void FitDescription(HWND area, int areaWidth) {
    HWND value = GetDlgItem(area, IDC_PREVIEW_VALUE);
    RECT rect;
    if (value == NULL || !GetWindowRect(value, &rect)) return;
    MapWindowPoints(NULL, area, reinterpret_cast<POINT*>(&rect), 2);
    int width = areaWidth - 317;
    if (width < 246) width = 246;
    MoveWindow(value, rect.left, rect.top, width, rect.bottom - rect.top, TRUE);
}

UINT_PTR CALLBACK PreviewHook(HWND area, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* record = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        SetPropA(area, kPreviewContext, reinterpret_cast<HANDLE>(record->lCustData));
        return 0;
    }
    PreviewContext* context = static_cast<PreviewContext*>(GetPropA(area, kPreviewContext));
    if (context == nullptr) return 0;
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) {
        PreviewSelection(area, *context);
    } else if (message == WM_SIZE && context->newerLayout) {
        FitDescription(area, LOWORD(lParam));
    } else if (message == WM_DESTROY) {
        RemovePropA(area, kPreviewContext);
    }
    return 0;
}

void FillCommon(OPENFILENAMEA& record, HWND owner, const PlatformInfo& platform, char* buffer) {
    memset(&record, 0, sizeof record);
    record.lStructSize = NewerDialogs(platform) ? sizeof record : OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = owner;
    record.hInstance = ResourceModule();
    record.lpstrFile = buffer;
    record.nMaxFile = kPathBufferSize;
    record.lpstrDefExt = "imz";
}

}  // namespace

namespace {

// An open dialog with the description area, for any image to read.
bool BrowseImageToOpen(HWND owner, const PlatformInfo& platform, MessageSink& sink, const char* title,
                       const char* filter, std::string& path) {
    char buffer[kPathBufferSize] = "";
    PreviewContext context{&sink, NewerDialogs(platform)};
    OPENFILENAMEA record;
    FillCommon(record, owner, platform, buffer);
    record.lpstrTitle = title;
    record.lpstrFilter = filter;
    record.nFilterIndex = 1;
    record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                        OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    record.lpfnHook = PreviewHook;
    record.lpTemplateName =
        MAKEINTRESOURCEA(context.newerLayout ? IDD_OPEN_PREVIEW : IDD_OPEN_PREVIEW_OLD);
    record.lCustData = reinterpret_cast<LPARAM>(&context);
    if (!GetOpenFileNameA(&record)) return false;
    path = buffer;
    return true;
}

}  // namespace

bool BrowseImageToWrite(HWND owner, const PlatformInfo& platform, MessageSink& sink, std::string& path) {
    return BrowseImageToOpen(owner, platform, sink, "Open Image File",
                             "Image Files (*.imz,*.img,*.ima,*.vfd,*.flp,*.zip)\0"
                             "*.imz; *.img; *.ima; *.vfd; *.flp; *.zip\0"
                             "All Files (*.*)\0*.*\0",
                             path);
}

bool BrowseImageOfAnyKind(HWND owner, const PlatformInfo& platform, MessageSink& sink, const char* title,
                          std::string& path) {
    return BrowseImageToOpen(owner, platform, sink, title,
                             "Image Files (*.imz,*.img,*.ima,*.vfd,*.flp,*.zip,*.exe)\0"
                             "*.imz; *.img; *.ima; *.vfd; *.flp; *.zip; *.exe\0"
                             "All Files (*.*)\0*.*\0",
                             path);
}

bool BrowseImageToCreate(HWND owner, const PlatformInfo& platform, int filterIndex, std::string& path) {
    char buffer[kPathBufferSize] = "";
    OPENFILENAMEA record;
    FillCommon(record, owner, platform, buffer);
    record.lpstrTitle = "Save Image File";
    record.lpstrFilter =
        "Compressed Image File (*.imz)\0*.imz\0"
        "Uncompressed Image File (*.img)\0*.img\0"
        "Self-Extracting Image File (*.exe)\0*.exe\0"
        "WinImage Raw Image File (*.ima)\0*.ima\0"
        "Virtual Floppy Disk File (*.vfd)\0*.vfd\0"
        "VMware Floppy Image File (*.flp)\0*.flp\0";
    record.nFilterIndex = filterIndex;
    record.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetSaveFileNameA(&record)) return false;
    path = buffer;
    return true;
}
