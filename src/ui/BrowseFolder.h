#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "ui/Handles.h"

namespace ui {

// Options of the folder-browsing dialog; a set of them is a bit set in which member n is bit n.
enum TBrowseInfoFlag : unsigned {
    bfFileSysDirsOnly,
    bfDontGoBelowDomain,
    bfStatusText,
    bfFileSysAncestors,
    bfBrowseForComputer,
    bfBrowseForPrinter,
};
using TBrowseInfoFlags = unsigned;
constexpr TBrowseInfoFlags BrowseFlag(TBrowseInfoFlag f) { return 1u << f; }

// The root of the folder tree: a special folder of the shell, or the desktop with its first level expanded.
enum TSHFolders {
    foDesktop,
    foDesktopExpanded,
    foPrograms,
    foControlPanel,
    foPrinters,
    foPersonal,
    foFavorites,
    foStartup,
    foRecent,
    foSendto,
    foRecycleBin,
    foStartMenu,
    foDesktopDirectory,
    foMyComputer,
    foNetwork,
    foNetworkNeighborhood,
    foFonts,
    foTemplates,
};

enum TCustomButtonType { btPushButton, btCheckBox };

// The dialog option bits (BIF_...) of a set of flags.
UINT BrowseInfoOptions(TBrowseInfoFlags flags);
// The shell's special-folder identifier of a root; -1 for foDesktopExpanded, which has none.
int SpecialFolderId(TSHFolders folder);
// Shortens a path for the dialog's status line: over maxLength characters and with more than two parts,
// the second part becomes "..."; then, while still too long with more than three parts, the third goes.
std::wstring ShortenPath(const std::wstring &path, size_t maxLength = 35);

// Lets the user pick a folder in the shell's folder-browsing dialog: preselects Directory, shows the
// shortened path of the selection in the status line, enables OK only on file-system folders and can add
// one button of its own to the dialog. Execute gives true with the chosen folder in Directory.
class TBrowseFolder {
public:
    using TBrowserInitializedEvent = std::function<void(TBrowseFolder &sender, HWND dialog)>;
    using TSelectionChangedEvent = std::function<void(TBrowseFolder &sender, HWND dialog, LPCITEMIDLIST item,
                                                      const std::wstring &directory)>;
    using TCustomButtonClickEvent = std::function<void(TBrowseFolder &sender, HWND dialog)>;

    static constexpr int kCustomButtonId = 255;
    static constexpr int kDefaultButtonWidth = 75;

    TBrowseFolder() = default;
    TBrowseFolder(const TBrowseFolder &) = delete;
    TBrowseFolder &operator=(const TBrowseFolder &) = delete;

    std::wstring Directory;
    std::wstring Title;
    TBrowseInfoFlags Flags = BrowseFlag(bfFileSysDirsOnly) | BrowseFlag(bfStatusText);
    bool ShowPathInStatusArea = false;
    TSHFolders RootFolder = foDesktopExpanded;
    bool CustomButtonVisible = false;
    bool CustomButtonEnabled() const { return customButtonEnabled_; }
    void SetCustomButtonEnabled(bool enabled);
    const std::wstring &CustomButtonCaption() const { return customButtonCaption_; }
    void SetCustomButtonCaption(const std::wstring &caption);
    int CustomButtonWidth() const { return customButtonWidth_; }
    void SetCustomButtonWidth(int width) { customButtonWidth_ = width > 0 ? width : kDefaultButtonWidth; }
    TCustomButtonType CustomButtonType = btPushButton;
    bool CustomButtonChecked = false;
    bool SyncCustomButton = false;
    TBrowserInitializedEvent OnInitialized;
    TSelectionChangedEvent OnSelectionChanged;
    TCustomButtonClickEvent OnCustomButtonClick;

    // The window that owns the dialog; when unset, OwnerWindow, else the application's main window.
    HWND ParentHandle = nullptr;
    HWND OwnerWindow = nullptr;
    // The file-system path of the item selected in the open dialog; after a successful Execute, Directory.
    const std::wstring &CurrentFolder() const { return currentFolder_; }
    const std::wstring &DisplayName() const { return displayName_; }
    int ImageIndex() const { return imageIndex_; }
    HWND DialogHandle() const { return dialog_; }
    HWND CustomButtonHandle() const { return customButton_; }

    // False at once, with the open dialog brought forward, while the dialog is already open: input queued
    // before it opened (a second press of the button that opens it) must not open another.
    bool Execute();

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);
    static LRESULT CALLBACK DialogSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND Owner() const;
    void Initialized(HWND dialog);
    void SelectionChanged(LPCITEMIDLIST item);
    void PlaceOverForeground();
    void CreateCustomButton();
    bool DialogCommand(WPARAM wParam);

    bool customButtonEnabled_ = true;
    std::wstring customButtonCaption_;
    int customButtonWidth_ = kDefaultButtonWidth;
    std::wstring currentFolder_;
    std::wstring preselection_;
    std::wstring displayName_;
    int imageIndex_ = 0;
    HWND dialog_ = nullptr;
    bool executing_ = false;
    HWND customButton_ = nullptr;
    FontHandle buttonFont_;
};

} // namespace ui
