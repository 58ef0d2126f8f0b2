#include "program/contents_dialog_win32.h"

#include <commctrl.h>

#include "engine/fat/ansi_names_win32.h"
#include "engine/fat/fat_disk_source.h"
#include "engine/fat/fat_text.h"
#include "platform/resource_texts_win32.h"
#include "program/folder_chooser_win32.h"
#include "resources/string_ids.h"

namespace {

struct Column {
    const char* title;
    int width;
    int format;
};

const Column kColumns[] = {
    {"Name", 250, LVCFMT_LEFT},   {"Size", 70, LVCFMT_RIGHT}, {"Modified", 120, LVCFMT_LEFT},
    {"Attributes", 60, LVCFMT_LEFT}, {"Damaged", 60, LVCFMT_LEFT},
};

std::string VolumeLine(const FatVolumeInfo& info) {
    std::string line = "Label: " + (info.label.empty() ? std::string("(none)") : info.label);
    line += "    Serial: " + (info.hasSerial ? FatSerialText(info.serial) : std::string("(none)"));
    line += "    " + std::to_string(info.bytes) + " bytes, " + std::to_string(info.freeBytes) + " free";
    return line;
}

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string CellText(const FatEntry& entry, int column) {
    switch (column) {
    case 0:
        return WindowsPath(AnsiOfUtf8(entry.path)) + (entry.directory ? "\\" : "");
    case 1:
        return entry.directory ? "<DIR>" : std::to_string(entry.size);
    case 2:
        return entry.modified.Valid() ? FatTimeText(entry.modified).replace(10, 1, " ") : "";
    case 3:
        return FatAttributeLetters(entry.attributes);
    default:
        return entry.damaged ? "damaged" : "";
    }
}

// What extracting names are paths in UTF-8, the volume's and the target's: a message box
// shows them in the ANSI code page.
class AnsiTextSink final : public MessageSink {
public:
    explicit AnsiTextSink(MessageSink& sink) : sink_(sink) {}
    MessageAnswer Show(const UserMessage& message) override {
        if (message.text == nullptr) return sink_.Show(message);
        const std::string text = AnsiOfUtf8(message.text);
        UserMessage shown = message;
        shown.text = text.c_str();
        return sink_.Show(shown);
    }

private:
    MessageSink& sink_;
};

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    if (column == 0) {
        item.mask |= LVIF_PARAM;
        item.lParam = row;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace

bool ContentsDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    SetText(("Contents of " + source_).c_str());
    SetItemText(IDC_CONTENTS_VOLUME, VolumeLine(files_.Volume().Info()).c_str());
    FillList();
    return true;
}

void ContentsDialog::FillList() {
    HWND list = Item(IDC_CONTENTS_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].title);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    const std::vector<FatEntry>& entries = files_.Volume().Entries();
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        for (int column = 0; column < 5; ++column) SetCell(list, row, column, CellText(entries[row], column));
    }
}

bool ContentsDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CONTENTS_EXTRACT && code == BN_CLICKED) {
        Extract();
        return true;
    }
    return CMyDialog::OnCommand(id, code, control);
}

// The selected rows' paths go to the extraction; a folder takes what it holds along.
void ContentsDialog::Extract() {
    ResourceTexts texts;
    std::string folder;
    if (!ChooseFolder(hwnd_, texts.Text(IDS_EXTRACT_CHOOSE_FOLDER), folder)) return;
    HWND list = Item(IDC_CONTENTS_LIST);
    const std::vector<FatEntry>& entries = files_.Volume().Entries();
    std::vector<std::string> paths;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        if (row < static_cast<int>(entries.size())) paths.push_back(entries[row].path);
    }
    FatExtractResult result;
    AnsiTextSink sink(sink_);
    files_.Extract(Utf8OfAnsi(folder), paths, sink, &result);
    UserMessage done{IDS_EXTRACT_DONE, MessageStyle::Information, folder.c_str()};
    done.number = static_cast<long>(result.files);
    sink_.Show(done);
}

int ShowImageContents(HWND parent, const std::string& image, MessageSink& sink) {
    ImageFiles files;
    if (files.Open(image, sink) != 0) return -1;
    // The list marks damaged files; what is wrong with the volume itself, and that
    // anything is, would show nowhere else.
    TellFatDamage(files.Volume(), sink, FatDamageDetail::VolumeOnly);
    ContentsDialog(parent, files, image, sink).DoModal();
    return 0;
}
