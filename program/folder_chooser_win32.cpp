#include "program/folder_chooser_win32.h"

#include <shlobj.h>

namespace {

// The chooser's item list, given back to the shell's allocator (SHGetMalloc: 95 has no
// SHFree by name).
class ItemList {
public:
    explicit ItemList(LPITEMIDLIST list) : list_(list) {}
    ~ItemList() {
        IMalloc* allocator = nullptr;
        if (list_ != nullptr && SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
            allocator->Free(list_);
            allocator->Release();
        }
    }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    LPITEMIDLIST Get() const { return list_; }

private:
    LPITEMIDLIST list_;
};

}  // namespace

bool ChooseFolder(HWND owner, const char* prompt, std::string& path) {
    char display[MAX_PATH] = "";
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = prompt;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList chosen(SHBrowseForFolderA(&browse));
    if (chosen.Get() == nullptr) return false;
    char folder[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(chosen.Get(), folder) || folder[0] == '\0') return false;
    path = folder;
    return true;
}
