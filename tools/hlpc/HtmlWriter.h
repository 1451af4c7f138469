#pragma once
#include <string>
#include <vector>

#include "HelpSource.h"

namespace hlpc {

// One file of the HTML manual: its name inside the manual's folder and its bytes.
struct HtmlFile {
    std::string name;
    std::string content;
};

// The manual as plain HTML 4.01 and CSS that Internet Explorer 6 shows as well as any later browser:
// a page "<key>.html" per topic (a browser handed a page opens it; an anchor after a file name is lost
// by some of the hand-offs between the shell and a browser), links between the pages, and the style
// sheet "zelvor.css". The text stays in code page 1252, which each page declares. The project must be
// one CompileHelp accepts.
std::vector<HtmlFile> WriteHtmlManual(const HelpProject &project);

} // namespace hlpc
