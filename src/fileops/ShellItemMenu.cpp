#include "fileops/ShellItemMenu.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <functional>
#include <vector>

#include "fileops/ComPtr.h"
#include "fileops/RecycleBin.h"

namespace fileops {

namespace {

// The hourglass for the time of one request; the previous cursor comes back on every path.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    HCURSOR previous_;
};

// One item identifier, freed through the shell's allocator.
class ItemId {
public:
    explicit ItemId(IMalloc *allocator) : allocator_(allocator) {}
    ~ItemId() {
        if (id_)
            allocator_->Free(id_);
    }
    ItemId(const ItemId &) = delete;
    ItemId &operator=(const ItemId &) = delete;
    LPITEMIDLIST Get() const { return id_; }
    LPITEMIDLIST *Receive() { return &id_; }

private:
    IMalloc *allocator_;
    LPITEMIDLIST id_ = nullptr;
};

class PopupMenu {
public:
    PopupMenu() : menu_(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (menu_)
            DestroyMenu(menu_);
    }
    PopupMenu(const PopupMenu &) = delete;
    PopupMenu &operator=(const PopupMenu &) = delete;
    HMENU Get() const { return menu_; }

private:
    HMENU menu_;
};

using ItemAction = std::function<bool(IContextMenu &menu, ULONG attributes)>;

bool Invoke(IContextMenu &menu, HWND owner, LPCSTR verb) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu.InvokeCommand(&info));
}

// Parses a name in a folder and runs the action on the item's context menu; false when a step fails.
bool ActOnItem(IShellFolder &folder, IMalloc *allocator, HWND owner, const std::wstring &name, const ItemAction &action,
               bool *parsed) {
    std::vector<wchar_t> buffer(name.begin(), name.end());
    buffer.push_back(L'\0');
    ItemId item(allocator);
    ULONG attributes = SFGAO_HASPROPSHEET;
    *parsed = SUCCEEDED(folder.ParseDisplayName(owner, nullptr, buffer.data(), nullptr, item.Receive(), &attributes));
    if (!*parsed)
        return false;
    ComPtr<IContextMenu> menu;
    LPCITEMIDLIST items[] = {item.Get()};
    if (FAILED(folder.GetUIObjectOf(owner, 1, items, IID_IContextMenu, nullptr, menu.ReceiveVoid())) || !menu)
        return false;
    return action(*menu.Get(), attributes);
}

// The fallback for names the item's own folder cannot parse: the desktop's first folder parses the whole path.
bool ActThroughFirstDesktopFolder(IShellFolder &desktop, IMalloc *allocator, HWND owner, const std::wstring &path,
                                  const ItemAction &action) {
    ComPtr<IEnumIDList> folders;
    if (desktop.EnumObjects(owner, SHCONTF_FOLDERS, folders.Receive()) != S_OK || !folders)
        return false;
    ItemId first(allocator);
    ULONG fetched = 0;
    if (folders->Next(1, first.Receive(), &fetched) != S_OK || fetched != 1)
        return false;
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop.BindToObject(first.Get(), nullptr, IID_IShellFolder, folder.ReceiveVoid())) || !folder)
        return false;
    bool parsed = false;
    return ActOnItem(*folder.Get(), allocator, owner, path, action, &parsed);
}

bool RunOnItem(const std::wstring &path, HWND owner, const ItemAction &action) {
    WaitCursor wait;
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Receive())) || !allocator)
        return false;
    size_t cut = path.rfind(L'\\');
    std::wstring folderPart = cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
    std::wstring namePart = cut == std::wstring::npos ? path : path.substr(cut + 1);

    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Receive())) || !desktop)
        return false;
    std::vector<wchar_t> buffer(folderPart.begin(), folderPart.end());
    buffer.push_back(L'\0');
    ItemId folderId(allocator.Get());
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, buffer.data(), nullptr, folderId.Receive(), nullptr)))
        return false;
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(folderId.Get(), nullptr, IID_IShellFolder, folder.ReceiveVoid())) || !folder)
        return false;
    bool parsed = false;
    bool result = ActOnItem(*folder.Get(), allocator.Get(), owner, namePart, action, &parsed);
    if (parsed)
        return result;
    return ActThroughFirstDesktopFolder(*desktop.Get(), allocator.Get(), owner, path, action);
}

} // namespace

bool ShowItemContextMenu(const std::wstring &path, HWND owner, POINT screen) {
    // The menu's Delete sends the item to the Recycle Bin through the shell.
    PrepareRecycleBin();
    return RunOnItem(path, owner, [&](IContextMenu &menu, ULONG) {
        PopupMenu popup;
        if (!popup.Get() || FAILED(menu.QueryContextMenu(popup.Get(), 0, 1, 0x7FFF, CMF_EXPLORE)))
            return false;
        UINT chosen = static_cast<UINT>(
            TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
        if (chosen == 0)
            return true;
        return Invoke(menu, owner, MAKEINTRESOURCEA(chosen - 1));
    });
}

bool ShowItemProperties(const std::wstring &path, HWND owner) {
    return RunOnItem(path, owner, [&](IContextMenu &menu, ULONG attributes) {
        if (!(attributes & SFGAO_HASPROPSHEET))
            return false;
        return Invoke(menu, owner, "properties");
    });
}

} // namespace fileops
