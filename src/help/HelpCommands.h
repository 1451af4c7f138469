#pragma once
#include <windows.h>

#include <string>

#include "help/HelpTopics.h"

namespace help {

// "Zelvor.hlp" in the folder of the running executable.
std::wstring HelpFileBesideExecutable();

// The page of a topic in the HTML manual, the folder "Help" beside the help file: "<key>.html".
std::wstring HtmlPageOf(const std::wstring &helpFile, const wchar_t *contextKey);

// Where help is read. WinHelp is part of Windows up to XP, and Wine has its own viewer; from Vista on
// it is not (Windows 10 and 11 cannot even install it: the name starts a stub that says so, and counts
// as a success), so there the manual opens in the default browser.
enum class HelpViewer {
    WinHelp, // WinHelp, and the browser when WinHelp cannot start or cannot be handed the file
    Browser, // the browser only
};
// WinHelp before Vista and under Wine (whatever version Wine reports); the browser on Vista and later.
HelpViewer HelpViewerOfThisSystem();

// The path as the ANSI code page spells it (WinHelp is an ANSI program and gets "?" for any other letter),
// else its short path when the ANSI code page spells that; empty when neither is spelled.
std::string AnsiSpellingOf(const std::wstring &path);

// Opens the help at a topic. With WinHelp: the help file's contents, then the topic by the JumpID macro
// with the context key, then by the numeric id (contextId 0: no such request), which is what reaches
// the topic in viewers that ignore macros, such as Wine's. When WinHelp cannot start, the help file is
// missing or cannot be spelled for it, or the viewer is the browser: the topic's page of the HTML
// manual opens with the program the system has for HTML pages. Raises an error naming the page when
// that fails too.
void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const wchar_t *contextKey, DWORD contextId,
                   HelpViewer viewer = HelpViewerOfThisSystem());

inline void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const HelpTopic &topic,
                          HelpViewer viewer = HelpViewerOfThisSystem()) {
    ShowHelpTopic(owner, helpFile, topic.key, topic.id, viewer);
}

} // namespace help
