#include "HtmlWriter.h"

namespace hlpc {

namespace {

constexpr char kStyleSheetName[] = "zelvor.css";

// Verdana and Tahoma at a small size are the look of the system's own help on XP; IE6 knows every rule.
constexpr char kStyleSheet[] =
    "body { font-family: Verdana, Tahoma, Arial, sans-serif; font-size: 80%; color: #000000;\r\n"
    "       background: #FFFFFF; margin: 1em 2em; }\r\n"
    "h1 { font-size: 150%; color: #800000; border-bottom: 1px solid #800000; padding-bottom: 0.2em; }\r\n"
    "h2 { font-size: 115%; color: #800000; margin-top: 1.4em; }\r\n"
    "p, li { line-height: 1.35em; }\r\n"
    "ul { margin-top: 0.4em; margin-bottom: 0.4em; }\r\n"
    "a { color: #000080; }\r\n"
    "a:visited { color: #551A8B; }\r\n"
    "p.nav { font-size: 90%; margin: 0 0 1em 0; }\r\n"
    "p.copyright { font-size: 85%; color: #606060; border-top: 1px solid #C0C0C0; padding-top: 0.4em;\r\n"
    "              margin-top: 2em; }\r\n";

std::string PageName(const std::string &key) { return key + ".html"; }

// Code page 1252 text as HTML text: the bytes stay, the page names their code page.
std::string Escape(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Runs(const std::vector<Run> &runs) {
    std::string out;
    for (const Run &run : runs) {
        switch (run.kind) {
        case Run::Kind::Text: out += Escape(run.text); break;
        case Run::Kind::Bold: out += "<b>" + Escape(run.text) + "</b>"; break;
        case Run::Kind::Link: out += "<a href=\"" + PageName(run.target) + "\">" + Escape(run.text) + "</a>"; break;
        }
    }
    return out;
}

std::string Page(const HelpProject &project, const Topic &topic) {
    const std::string &manual = project.title.empty() ? project.topics.front().title : project.title;
    const bool isContents = &topic == &project.topics.front();
    std::string page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
        "<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
        "<title>" +
        Escape(topic.title == manual ? manual : topic.title + " - " + manual) +
        "</title>\r\n"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"" +
        kStyleSheetName + "\">\r\n</head>\r\n<body>\r\n";
    if (!isContents)
        page += "<p class=\"nav\"><a href=\"" + PageName(project.topics.front().key) + "\">" + Escape(manual) +
                "</a></p>\r\n";
    page += "<h1>" + Escape(topic.title) + "</h1>\r\n";
    bool inList = false;
    for (const Paragraph &paragraph : topic.paragraphs) {
        const bool item = paragraph.style == Paragraph::Style::Item;
        if (item != inList) {
            page += item ? "<ul>\r\n" : "</ul>\r\n";
            inList = item;
        }
        switch (paragraph.style) {
        case Paragraph::Style::Body: page += "<p>" + Runs(paragraph.runs) + "</p>\r\n"; break;
        case Paragraph::Style::Heading: page += "<h2>" + Runs(paragraph.runs) + "</h2>\r\n"; break;
        case Paragraph::Style::Item: page += "<li>" + Runs(paragraph.runs) + "</li>\r\n"; break;
        }
    }
    if (inList)
        page += "</ul>\r\n";
    if (!project.copyright.empty())
        page += "<p class=\"copyright\">" + Escape(project.copyright) + "</p>\r\n";
    page += "</body>\r\n</html>\r\n";
    return page;
}

} // namespace

std::vector<HtmlFile> WriteHtmlManual(const HelpProject &project) {
    std::vector<HtmlFile> files;
    for (const Topic &topic : project.topics)
        files.push_back({PageName(topic.key), Page(project, topic)});
    files.push_back({kStyleSheetName, kStyleSheet});
    return files;
}

} // namespace hlpc
