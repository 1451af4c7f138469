#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace filelist {

// The shell's small system image list (shared: never destroyed by the program).
HIMAGELIST SystemImageList(bool small);

// The system image list's picture of a drive type, asked of the shell once per type: no drive is touched.
int DriveTypeIcon(UINT driveType);

// The shell loads its pictures at the first question about one (about a tenth of a second under Wine).
// Called first thing at start-up, this makes the quick pictures on a thread of its own, and has the shell
// load its lists there once NeedShellPictures() is called: a folder of folders shows without them, and
// the load would only slow the making of its window. Whoever asks meanwhile waits for the same load, not
// for a second one. `whenReady` is called on that thread once the lists and the folder's picture are there.
void PrepareShellPicturesInBackground(void (*whenReady)() = nullptr);
// Starts the shell's load on that thread: a file is to be shown, or the window is up.
void NeedShellPictures();
bool ShellPicturesNeeded();
// For tests: as before the first NeedShellPictures().
void ForgetShellPicturesNeeded();
// True once the image lists and the folder picture are loaded: a listing then waits for nothing.
bool ShellPicturesReady();
// For tests: while `pretend` holds, ShellPicturesReady() is false, so that the way taken before the load
// can be driven in a process where the shell's lists are long loaded.
void PretendShellPicturesNotLoaded(bool pretend);

// The system image list's folder picture, asked of the shell once per process: the first call waits for
// the shell's load.
int FolderIcon();
// The folder type name, asked once per process; it needs no picture, so it waits for no load.
const std::wstring &FolderTypeName();

// The same pictures before the load: each taken, at the small size, from the file and place the shell
// names for it, into a small list of the program's own (a few milliseconds, against a tenth of a second
// for the shell's load under Wine). A window can so show its folders and drives at once. Indices are into
// QuickPictureList(); -1 when the shell names no file for that picture, and only its own list can serve.
HIMAGELIST QuickPictureList();
int QuickFolderPicture();
int QuickDriveTypePicture(UINT driveType);

// Icons and type names by extension. Asking the shell about a real path is slow (it reads the file, and
// under Wine scans the directory), so the shell is asked once per extension with the attributes alone;
// only types whose icon lives in the file itself are asked per file, and only for rows on screen.
class TShellTypeCache {
public:
    struct TTypeInfo {
        int icon = 0;
        std::wstring typeName; // as the shell gives it, possibly empty
        bool iconPerFile = false;
    };
    // The type of a file by its name (its extension taken in lower case, as file captions show it), as an
    // index for Type; the shell is asked once per extension.
    int IndexFor(const std::wstring &name);
    const TTypeInfo &Type(int index) const { return types_[index]; }
    static int IconOfFile(const std::wstring &fullPath);

private:
    // Looked up by a view of the name's extension, so that a row costs no copy of it.
    struct TExtensionHash {
        using is_transparent = void;
        size_t operator()(std::wstring_view s) const { return std::hash<std::wstring_view>{}(s); }
    };
    std::unordered_map<std::wstring, int, TExtensionHash, std::equal_to<>> byExtension_;
    std::vector<TTypeInfo> types_;
};

} // namespace filelist
