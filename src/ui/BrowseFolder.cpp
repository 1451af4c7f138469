#include "ui/BrowseFolder.h"

#include <commctrl.h>

#include <exception>
#include <memory>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/ScopedFlag.h"
#include "ui/ScreenScale.h"

namespace ui {

namespace {

constexpr UINT_PTR kSubclassId = 0x4246;

// The common controls' subclassing calls, by the numbers every version since 5.8 exports them under:
// the names came later, and XP's library for programs without a manifest (5.82) need not have them.
struct TSubclassCalls {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) next = nullptr;
};

const TSubclassCalls &SubclassCalls() {
    static const TSubclassCalls calls = [] {
        TSubclassCalls found;
        HMODULE library = LoadLibraryW(L"comctl32.dll"); // loaded already: the program imports it
        auto call = [library](WORD number) {
            return reinterpret_cast<void (*)()>(library ? GetProcAddress(library, MAKEINTRESOURCEA(number)) : nullptr);
        };
        found.set = reinterpret_cast<decltype(found.set)>(call(410));
        found.remove = reinterpret_cast<decltype(found.remove)>(call(412));
        found.next = reinterpret_cast<decltype(found.next)>(call(413));
        return found;
    }();
    return calls;
}

struct ItemIdListFree {
    void operator()(ITEMIDLIST *list) const { CoTaskMemFree(list); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, ItemIdListFree>;

std::wstring PathOf(LPCITEMIDLIST item) {
    wchar_t path[MAX_PATH] = {};
    if (!item || !SHGetPathFromIDListW(item, path)) return {};
    return path;
}

bool IsExistingDirectory(const std::wstring &path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> SplitParts(const std::wstring &path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t cut = path.find(L'\\', start);
        parts.push_back(path.substr(start, cut - start));
        if (cut == std::wstring::npos) break;
        start = cut + 1;
    }
    return parts;
}

std::wstring JoinParts(const std::vector<std::wstring> &parts) {
    std::wstring path;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) path += L'\\';
        path += parts[i];
    }
    return path;
}

// The callbacks run inside the shell's dialog: an error is shown there and never crosses into the system.
template <typename F> void Guarded(F &&handle) {
    try {
        handle();
    } catch (const std::exception &e) {
        Application().HandleException(e);
    }
}

} // namespace

UINT BrowseInfoOptions(TBrowseInfoFlags flags) {
    static const UINT bits[] = {BIF_RETURNONLYFSDIRS, BIF_DONTGOBELOWDOMAIN,  BIF_STATUSTEXT,
                                BIF_RETURNFSANCESTORS, BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER};
    UINT options = 0;
    for (unsigned i = 0; i < sizeof bits / sizeof bits[0]; ++i)
        if (flags & (1u << i)) options |= bits[i];
    return options;
}

int SpecialFolderId(TSHFolders folder) {
    static const int ids[] = {CSIDL_DESKTOP,   -1,           CSIDL_PROGRAMS,         CSIDL_CONTROLS,
                              CSIDL_PRINTERS,  CSIDL_PERSONAL, CSIDL_FAVORITES,      CSIDL_STARTUP,
                              CSIDL_RECENT,    CSIDL_SENDTO, CSIDL_BITBUCKET,        CSIDL_STARTMENU,
                              CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, CSIDL_NETWORK,   CSIDL_NETHOOD,
                              CSIDL_FONTS,     CSIDL_TEMPLATES};
    return ids[folder];
}

std::wstring ShortenPath(const std::wstring &path, size_t maxLength) {
    std::vector<std::wstring> parts = SplitParts(path);
    if (path.size() <= maxLength || parts.size() <= 2) return path;
    parts[1] = L"...";
    std::wstring shortened = JoinParts(parts);
    while (shortened.size() > maxLength && parts.size() > 3) {
        parts.erase(parts.begin() + 2);
        shortened = JoinParts(parts);
    }
    return shortened;
}

void TBrowseFolder::SetCustomButtonEnabled(bool enabled) {
    customButtonEnabled_ = enabled;
    if (customButton_ && IsWindow(customButton_)) EnableWindow(customButton_, enabled);
}

void TBrowseFolder::SetCustomButtonCaption(const std::wstring &caption) {
    customButtonCaption_ = caption;
    if (customButton_ && IsWindow(customButton_)) SetWindowTextW(customButton_, caption.c_str());
}

HWND TBrowseFolder::Owner() const {
    if (ParentHandle && IsWindow(ParentHandle)) return ParentHandle;
    if (OwnerWindow && IsWindow(OwnerWindow)) return OwnerWindow;
    TForm *main = Application().MainForm();
    return main ? main->Handle() : nullptr;
}

bool TBrowseFolder::Execute() {
    // A second dialog would find the owner disabled by the first, and the first, closing, would enable
    // the owner under the second, which would then stay open behind a window that takes input.
    if (executing_) {
        if (dialog_) SetForegroundWindow(dialog_);
        return false;
    }
    TScopedFlag executing(executing_);
    HWND owner = Owner();
    ItemIdList root;
    if (int csidl = SpecialFolderId(RootFolder); csidl >= 0) {
        LPITEMIDLIST folder = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(owner, csidl, &folder))) root.reset(folder);
    }
    wchar_t name[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = name;
    info.lpszTitle = Title.c_str();
    info.ulFlags = BrowseInfoOptions(Flags);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    ItemIdList chosen(SHBrowseForFolderW(&info));
    dialog_ = nullptr;
    customButton_ = nullptr;
    buttonFont_.Reset();
    if (!chosen) return false;
    Directory = PathOf(chosen.get());
    currentFolder_ = Directory;
    displayName_ = name;
    imageIndex_ = info.iImage;
    return true;
}

int CALLBACK TBrowseFolder::BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto *self = reinterpret_cast<TBrowseFolder *>(data);
    Guarded([&] {
        if (msg == BFFM_INITIALIZED) self->Initialized(dialog);
        else if (msg == BFFM_SELCHANGED) self->SelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
    });
    return 0;
}

void TBrowseFolder::Initialized(HWND dialog) {
    dialog_ = dialog;
    PlaceOverForeground();
    if (IsExistingDirectory(Directory)) {
        preselection_ = Directory; // stays put until the posted request below is served
        SendMessageW(dialog_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(preselection_.c_str()));
        // Under Wine the tree may not be filled yet while the dialog initialises, and the selection then
        // does not take; asked again once the dialog runs, before any input of the user, it does.
        PostMessageW(dialog_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(preselection_.c_str()));
    }
    if (CustomButtonVisible) CreateCustomButton();
    if (OnInitialized) OnInitialized(*this, dialog_);
}

void TBrowseFolder::PlaceOverForeground() {
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == dialog_) return;
    RECT over{}, own{};
    GetWindowRect(foreground, &over);
    GetWindowRect(dialog_, &own);
    int left = over.left + ((over.right - over.left) - (own.right - own.left)) / 2;
    int top = over.top + (over.bottom - over.top) / 4;
    SetWindowPos(dialog_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TBrowseFolder::SelectionChanged(LPCITEMIDLIST item) {
    std::wstring path = PathOf(item);
    currentFolder_ = path;
    if (ShowPathInStatusArea) {
        std::wstring shown = ShortenPath(path);
        SendMessageW(dialog_, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    bool fileSystem = !path.empty();
    SendMessageW(dialog_, BFFM_ENABLEOK, 0, fileSystem);
    if (SyncCustomButton) SetCustomButtonEnabled(fileSystem);
    if (OnSelectionChanged) OnSelectionChanged(*this, dialog_, item, path);
}

void TBrowseFolder::CreateCustomButton() {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (CustomButtonType == btCheckBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON);
    customButton_ = CreateWindowExW(0, L"BUTTON", customButtonCaption_.c_str(), style, Scaled(12), Scaled(270),
                                    Scaled(customButtonWidth_), Scaled(23),
                                    dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCustomButtonId)),
                                    GetModuleHandleW(nullptr), nullptr);
    if (!customButton_) return;
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    buttonFont_.Reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    SendMessageW(customButton_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), TRUE);
    EnableWindow(customButton_, customButtonEnabled_);
    if (CustomButtonType == btCheckBox)
        SendMessageW(customButton_, BM_SETCHECK, CustomButtonChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (SubclassCalls().set && SubclassCalls().remove && SubclassCalls().next)
        SubclassCalls().set(dialog_, DialogSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

// OK records a check-box button's state before the dialog closes; the own button's press is ours alone.
bool TBrowseFolder::DialogCommand(WPARAM wParam) {
    if (LOWORD(wParam) == IDOK && CustomButtonType == btCheckBox && customButton_)
        CustomButtonChecked = SendMessageW(customButton_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (LOWORD(wParam) != kCustomButtonId) return false;
    if (OnCustomButtonClick) OnCustomButtonClick(*this, dialog_);
    return true;
}

LRESULT CALLBACK TBrowseFolder::DialogSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto *self = reinterpret_cast<TBrowseFolder *>(data);
    if (msg == WM_NCDESTROY) {
        SubclassCalls().remove(hwnd, DialogSubclass, kSubclassId);
    } else if (msg == WM_COMMAND) {
        bool handled = false;
        Guarded([&] { handled = self->DialogCommand(wParam); });
        if (handled) return 0;
    }
    return SubclassCalls().next(hwnd, msg, wParam, lParam);
}

} // namespace ui
