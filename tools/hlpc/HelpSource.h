#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hlpc {

// A piece of paragraph text: plain, bold, or a jump to the topic with context key `target`.
struct Run {
    enum class Kind { Text, Bold, Link };
    Kind kind = Kind::Text;
    std::string text; // code page 1252
    std::string target;
};

struct Paragraph {
    enum class Style { Body, Heading, Item };
    Style style = Style::Body;
    std::vector<Run> runs;
};

struct Topic {
    std::string key;
    uint32_t mapId = 0; // 0: no numeric help id
    std::string title;  // code page 1252
    std::vector<Paragraph> paragraphs;
    int line = 0; // where the topic starts in the source, for messages
};

// The first topic is the contents topic.
struct HelpProject {
    std::string title;
    std::string copyright;
    std::vector<Topic> topics;
};

// Reads help source text (UTF-8):
//   ; comment                      (whole line)
//   @title Window title            @copyright Text       (before the first topic)
//   @topic key id Topic title      (id: a number for the context map, or "-")
//   ## Heading                     (a bold heading paragraph)
//   - item                         (an indented paragraph; following lines continue it)
//   text lines                     (joined into one paragraph; a blank line ends it)
// Inside text: **bold** and [link text](key).
// Throws std::runtime_error naming the line of the first fault.
HelpProject ParseHelpSource(std::string_view text);

} // namespace hlpc
