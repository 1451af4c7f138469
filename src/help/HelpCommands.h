#pragma once
#include <windows.h>

#include <string>

#include "help/HelpTopics.h"

namespace help {

// "Zelvor.hlp" in the folder of the running executable.
std::wstring HelpFileBesideExecutable();

// Opens the help file in the system's help viewer at the contents, then asks for the topic twice:
// by the JumpID macro with the context key, and by the numeric id (contextId 0: no second request).
// The second request is what reaches the topic in viewers that ignore macro commands, such as
// Wine's; where the macro works, it shows the same topic again. A file that cannot be found is
// reported by the viewer; a viewer that cannot be started raises an error.
void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const wchar_t *contextKey, DWORD contextId);

inline void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const HelpTopic &topic) {
    ShowHelpTopic(owner, helpFile, topic.key, topic.id);
}

} // namespace help
