#pragma once
#include <windows.h>

#include <string>

namespace fileops {

// What the shell's file operation would read as something other than the item the user chose. The order
// is the order of weight: the first trouble a path has is the one reported.
enum class TNameTrouble {
    none,
    wildcard,    // "*" or "?": the shell acts on every name they match
    forbidden,   // a character the system allows in no name ("\" "/" ":" "<" ">" "|" '"', control characters)
    unspellable, // the listing could not spell it (U+FFFD stands for bytes it could not read)
    trailing,    // ends in a space or a dot: the shell drops them and names another item
    reserved,    // a device name (con, aux.txt, nul, com1...): the shell would open the device
    tooLong,     // longer than the shell takes (MAX_PATH)
};

// The trouble of one name (no "\" inside is allowed: it would make the name two).
TNameTrouble NameTrouble(const std::wstring &name);
// The trouble of a full path "X:\a\b" or "\\server\share\a": its names after the root, then its length.
// "." and ".." between names are steps, not names.
TNameTrouble PathTrouble(const std::wstring &path);
// True when the item can still be reached exactly with "\\?\" paths, which the system takes as spelled.
inline bool ReachableByLongPath(TNameTrouble trouble) {
    return trouble == TNameTrouble::none || trouble >= TNameTrouble::trailing;
}
// Why the shell cannot be given the item, in words to follow "its name ..." or "its path ...".
std::wstring TroubleText(TNameTrouble trouble);

// The "\\?\" form of a full path ("\\?\UNC\server\share\..." for a network path), with "." and ".."
// steps resolved, since the system takes such a path exactly as written.
std::wstring LongPath(const std::wstring &path);

// The path that opens exactly the item `name` in `directory` (ending in "\\") with calls that take "\\?\"
// paths (CreateFile): the plain path when nothing in it would be misread, else its "\\?\" form; empty
// when nothing can reach the item.
std::wstring ExactPathOf(const std::wstring &directory, const std::wstring &name);
// The same for programs and the shell, which take no "\\?\" path: the plain path, or else the item's
// short (8.3) path when that reaches it exactly; empty when neither does.
std::wstring ExactShellPathOf(const std::wstring &directory, const std::wstring &name);

// Who takes the path: calls that take "\\?\" paths (ExactPathOf), or the shell and programs (ExactShellPathOf).
enum class TPathUse { fileCalls, shell };
// The item's trouble as it is reported: its name's own first, else its whole path's.
TNameTrouble ItemTrouble(const std::wstring &directory, const std::wstring &name);
// The one wording for an item nothing reaches exactly, to follow its quoted path or "It".
std::wstring NotExactlyText(const std::wstring &why);
// The path that reaches exactly the item `name` in `directory` for the use; when none does, `path` is
// empty and `whyNot` says why, naming the item.
struct TExactPath {
    std::wstring path;
    std::wstring whyNot;
};
TExactPath ExactPathFor(const std::wstring &directory, const std::wstring &name, TPathUse use);

} // namespace fileops
