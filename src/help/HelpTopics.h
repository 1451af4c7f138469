#pragma once
#include <windows.h>

namespace help {

// A topic of Zelvor.hlp: its context key, for the JumpID macro, and its numeric id in the file's
// context map, for HELP_CONTEXT. Both must match help/Zelvor.txt; a test checks the built file.
struct HelpTopic {
    const wchar_t *key;
    DWORD id;
};

inline constexpr HelpTopic kContentsTopic{L"zelvor_contents", 1000};
inline constexpr HelpTopic kIndexTopic{L"zelvor_index", 1001};
inline constexpr HelpTopic kFileOperationsTopic{L"zelvor_fileops", 1002};
inline constexpr HelpTopic kKeyboardTopic{L"zelvor_keyboard", 1003};

} // namespace help
