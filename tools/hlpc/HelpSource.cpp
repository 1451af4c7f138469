#include "HelpSource.h"

#include "Cp1252.h"

#include <charconv>
#include <stdexcept>

namespace hlpc {

namespace {

[[noreturn]] void Fail(int line, const std::string &message) {
    throw std::runtime_error("line " + std::to_string(line) + ": " + message);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string ToCp1252(std::string_view s, int line) {
    try {
        return Utf8ToCp1252(s);
    } catch (const std::exception &e) {
        Fail(line, e.what());
    }
}

std::string_view NextWord(std::string_view &rest) {
    rest = Trim(rest);
    size_t end = rest.find_first_of(" \t");
    std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : Trim(rest.substr(end));
    return word;
}

void AddRun(std::vector<Run> &runs, Run::Kind kind, std::string text, std::string target = {}) {
    if (text.empty())
        return;
    if (kind != Run::Kind::Link && !runs.empty() && runs.back().kind == kind)
        runs.back().text += text;
    else
        runs.push_back({kind, std::move(text), std::move(target)});
}

// Splits one paragraph's text into plain, bold and link runs.
std::vector<Run> ParseInline(std::string_view text, int line) {
    std::vector<Run> runs;
    std::string plain;
    bool bold = false;
    auto flush = [&] {
        AddRun(runs, bold ? Run::Kind::Bold : Run::Kind::Text, ToCp1252(plain, line));
        plain.clear();
    };
    for (size_t i = 0; i < text.size();) {
        // "**Gray ***": the key "*" in bold; the last two close it.
        if (bold && text.compare(i, 3, "***") == 0) {
            plain += text[i++];
            continue;
        }
        if (text.compare(i, 2, "**") == 0) {
            flush();
            bold = !bold;
            i += 2;
            continue;
        }
        if (text[i] == '[') {
            size_t close = text.find("](", i);
            size_t end = close == std::string_view::npos ? close : text.find(')', close);
            if (end != std::string_view::npos && text.find('[', i + 1) > close) {
                flush();
                std::string label = ToCp1252(text.substr(i + 1, close - i - 1), line);
                std::string key(Trim(text.substr(close + 2, end - close - 2)));
                if (label.empty())
                    Fail(line, "a link needs a text");
                runs.push_back({Run::Kind::Link, std::move(label), std::move(key)});
                i = end + 1;
                continue;
            }
        }
        plain += text[i++];
    }
    if (bold)
        Fail(line, "\"**\" is not closed in this paragraph");
    flush();
    return runs;
}

class Parser {
public:
    HelpProject Parse(std::string_view text) {
        int line = 0;
        while (!text.empty()) {
            size_t end = text.find('\n');
            std::string_view raw = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            ParseLine(Trim(raw), ++line);
        }
        EndParagraph();
        if (project_.topics.empty())
            Fail(line, "the source has no topic");
        return std::move(project_);
    }

private:
    void ParseLine(std::string_view s, int line) {
        if (!s.empty() && s.front() == ';')
            return;
        if (s.empty()) {
            EndParagraph();
            return;
        }
        if (s.front() == '@') {
            EndParagraph();
            ParseDirective(s, line);
            return;
        }
        if (project_.topics.empty())
            Fail(line, "text before the first @topic");
        if (s.starts_with("## ")) {
            EndParagraph();
            StartParagraph(Paragraph::Style::Heading, s.substr(3), line);
            EndParagraph();
        } else if (s.starts_with("- ")) {
            EndParagraph();
            StartParagraph(Paragraph::Style::Item, s.substr(2), line);
        } else if (pending_) {
            pendingText_ += ' ';
            pendingText_ += s;
        } else {
            StartParagraph(Paragraph::Style::Body, s, line);
        }
    }

    void ParseDirective(std::string_view s, int line) {
        std::string_view rest = s;
        std::string_view name = NextWord(rest);
        if (name == "@title" || name == "@copyright") {
            if (!project_.topics.empty())
                Fail(line, std::string(name) + " belongs before the first @topic");
            (name == "@title" ? project_.title : project_.copyright) = ToCp1252(rest, line);
        } else if (name == "@topic") {
            Topic topic;
            topic.line = line;
            topic.key = std::string(NextWord(rest));
            std::string_view id = NextWord(rest);
            if (topic.key.empty() || id.empty() || rest.empty())
                Fail(line, "expected \"@topic key id title\"");
            if (id != "-") {
                auto [ptr, ec] = std::from_chars(id.data(), id.data() + id.size(), topic.mapId);
                if (ec != std::errc{} || ptr != id.data() + id.size() || topic.mapId == 0)
                    Fail(line, "the topic id must be a positive number or \"-\"");
            }
            topic.title = ToCp1252(rest, line);
            project_.topics.push_back(std::move(topic));
        } else {
            Fail(line, "unknown directive " + std::string(name));
        }
    }

    void StartParagraph(Paragraph::Style style, std::string_view text, int line) {
        pending_ = true;
        pendingStyle_ = style;
        pendingText_ = std::string(Trim(text));
        pendingLine_ = line;
    }

    void EndParagraph() {
        if (!pending_)
            return;
        pending_ = false;
        Paragraph paragraph{pendingStyle_, ParseInline(pendingText_, pendingLine_)};
        if (!paragraph.runs.empty())
            project_.topics.back().paragraphs.push_back(std::move(paragraph));
    }

    HelpProject project_;
    bool pending_ = false;
    Paragraph::Style pendingStyle_ = Paragraph::Style::Body;
    std::string pendingText_;
    int pendingLine_ = 0;
};

} // namespace

HelpProject ParseHelpSource(std::string_view text) {
    return Parser().Parse(text);
}

} // namespace hlpc
