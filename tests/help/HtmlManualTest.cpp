// The HTML manual the build writes beside Zelvor.hlp, read against the manual's source as a person reads both.
#include "help/HelpTopics.h"
#include "hlpc/HelpSource.h"
#include "hlpc/HtmlWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string ReadText(std::string unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Html(const std::string &text) {
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

struct SourceTopic {
    std::string key, title;
    std::vector<std::pair<std::string, std::string>> links; // text, target key
};

// The topics of help/Zelvor.txt as its header comment describes them.
std::vector<SourceTopic> SourceTopics() {
    std::vector<SourceTopic> topics;
    std::istringstream source(ReadText(ZELVOR_HELP_SOURCE));
    const std::regex topicLine(R"(^@topic +(\S+) +\S+ +(.*?)\s*$)"), link(R"(\[([^\[\]]+)\]\(([^)\s]+)\))");
    for (std::string line; std::getline(source, line);) {
        std::smatch m;
        if (line.starts_with(";")) continue;
        if (std::regex_match(line, m, topicLine)) {
            topics.push_back({m[1], m[2], {}});
            continue;
        }
        for (std::sregex_iterator it(line.begin(), line.end(), link), end; !topics.empty() && it != end; ++it)
            topics.back().links.push_back({(*it)[1], (*it)[2]});
    }
    return topics;
}

std::vector<std::string> HrefsOf(const std::string &page) {
    std::vector<std::string> hrefs;
    const std::regex href(R"(href="([^"]*)\")");
    for (std::sregex_iterator it(page.begin(), page.end(), href), end; it != end; ++it) hrefs.push_back((*it)[1]);
    return hrefs;
}

// A page per topic, titled as the topic, with the topic's links to the pages of their topics and one more to
// the contents; every reference of every page (links, style sheet) names a file of the manual; every topic
// is reached from another page; the pages are HTML 4.01 in the code page they name, which IE6 reads.
TEST(HtmlManual, APagePerTopicWithItsTitleAndLinksThatResolve) {
    const std::vector<SourceTopic> topics = SourceTopics();
    ASSERT_GE(topics.size(), 10u);
    const std::string folder = std::string(ZELVOR_HELP_HTML) + "/";
    const std::string contentsPage = topics.front().key + ".html";
    std::map<std::string, int> linksInto;
    for (const SourceTopic &topic : topics) {
        SCOPED_TRACE(topic.key);
        const std::string page = ReadText(folder + topic.key + ".html");
        ASSERT_FALSE(page.empty()) << "no page";
        EXPECT_TRUE(page.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\""));
        EXPECT_NE(page.find("charset=windows-1252"), std::string::npos);
        EXPECT_NE(page.find("<h1>" + Html(topic.title) + "</h1>"), std::string::npos);
        EXPECT_NE(page.find("<title>" + Html(topic.title)), std::string::npos);

        std::multiset<std::string> expected;
        for (const auto &[text, target] : topic.links) {
            EXPECT_NE(page.find("<a href=\"" + target + ".html\">" + Html(text) + "</a>"), std::string::npos)
                << "[" << text << "](" << target << ")";
            expected.insert(target + ".html");
        }
        if (&topic != &topics.front()) expected.insert(contentsPage);
        std::multiset<std::string> pageLinks;
        for (const std::string &href : HrefsOf(page)) {
            EXPECT_FALSE(ReadText(folder + href).empty()) << href << " does not resolve";
            if (href.ends_with(".html")) pageLinks.insert(href);
            if (href != topic.key + ".html") ++linksInto[href];
        }
        EXPECT_EQ(pageLinks, expected);
    }
    for (const SourceTopic &topic : topics) {
        if (&topic != &topics.front()) {
            EXPECT_GT(linksInto[topic.key + ".html"], 0) << topic.key << " is reached from no page";
        }
    }
    for (const help::HelpTopic &menuTopic : {help::kContentsTopic, help::kIndexTopic, help::kFileOperationsTopic,
                                             help::kKeyboardTopic}) {
        std::wstring wide = menuTopic.key;
        EXPECT_FALSE(ReadText(folder + std::string(wide.begin(), wide.end()) + ".html").empty()) << "a Help menu topic";
    }
}

// A key written in bold that is itself a star ("**Gray ***", the manual's key to invert the marks) stays in bold.
TEST(HtmlManual, ABoldStarKeyStaysBold) {
    auto files = hlpc::WriteHtmlManual(hlpc::ParseHelpSource("@topic keys - Keys\n- **Gray ***: invert the marks.\n"));
    ASSERT_FALSE(files.empty());
    EXPECT_NE(files.front().content.find("<li><b>Gray *</b>: invert the marks.</li>"), std::string::npos)
        << files.front().content;
}

} // namespace
