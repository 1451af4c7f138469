#include "HlpReader.h"
#include "help/HelpTopics.h"
#include "hlpc/ContextHash.h"
#include "hlpc/HelpSource.h"
#include "hlpc/HlpWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace {

struct TopicInfo {
    std::string title;
    uint32_t offset;
};

// What a file says once every structural check has passed.
struct Summary {
    std::vector<TopicInfo> topics; // without the closing record
    uint32_t topicBlocks = 0;
    uint16_t contextLevels = 0;
    std::map<uint32_t, uint32_t> ids; // |CTXOMAP
};

uint32_t TopicOffsetOf(const HlpReader &hlp, const std::string &key) {
    BTreeView context(hlp, hlp.Find("|CONTEXT")->Data());
    auto entry = context.Find(static_cast<int32_t>(hlpc::ContextHash(key)));
    return entry ? hlp.U32(*entry + 4) : 0xFFFFFFFF;
}

std::string TitleAt(const Summary &s, uint32_t offset) {
    for (const auto &t : s.topics)
        if (t.offset == offset)
            return t.title;
    return "(no topic at this offset)";
}

void CheckTree(const HlpReader &hlp, size_t data, uint32_t used, const char *name) {
    BTreeView tree(hlp, data);
    EXPECT_EQ(tree.magic, 0x293B) << name;
    EXPECT_GE(tree.levels, 1) << name;
    EXPECT_EQ(tree.mustBeNegOne, 0xFFFF) << name;
    EXPECT_EQ(used, tree.UsedSize()) << name;
    EXPECT_EQ(tree.CheckPages(), "") << name;
}

// Checks a complete help file as a viewer would read it.
Summary Inspect(const HlpReader &hlp) {
    Summary s;
    EXPECT_EQ(hlp.U32(0), 0x00035F3Fu);
    EXPECT_EQ(hlp.U32(8), 0xFFFFFFFFu);
    EXPECT_EQ(hlp.U32(12), hlp.Size());

    auto dir = hlp.FileAt(hlp.U32(4));
    EXPECT_EQ(dir.flags, 4);
    BTreeView directory(hlp, dir.Data());
    EXPECT_EQ(directory.flags, 0x0402);
    EXPECT_EQ(directory.pageSize, 1024);
    EXPECT_EQ(directory.structure, "z4");
    CheckTree(hlp, dir.Data(), dir.used, "directory");
    EXPECT_FALSE(hlp.Find("|Phrases"));
    std::vector<std::string> names;
    for (size_t at : directory.Leaves())
        names.push_back(hlp.Z(at));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()) &&
                std::adjacent_find(names.begin(), names.end()) == names.end());

    std::vector<std::pair<size_t, size_t>> extents{{0, 16}, {dir.header, dir.header + dir.reserved}};
    std::map<std::string, HlpReader::File> files;
    for (const char *name : {"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC", "|TTLBTREE"}) {
        auto f = hlp.Find(name);
        if (!f) {
            ADD_FAILURE() << name << " not found";
            return s;
        }
        EXPECT_EQ(f->reserved, f->used + 9) << name;
        EXPECT_LE(f->header + f->reserved, hlp.Size()) << name;
        extents.push_back({f->header, f->header + f->reserved});
        files[name] = *f;
    }
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i)
        EXPECT_LE(extents[i - 1].second, extents[i].first) << "internal files overlap";
    CheckTree(hlp, files["|CONTEXT"].Data(), files["|CONTEXT"].used, "|CONTEXT");
    CheckTree(hlp, files["|TTLBTREE"].Data(), files["|TTLBTREE"].used, "|TTLBTREE");

    size_t sys = files["|SYSTEM"].Data();
    EXPECT_EQ(hlp.U16(sys), 0x036C);
    EXPECT_EQ(hlp.U16(sys + 2), 33);
    EXPECT_EQ(hlp.U16(sys + 4), 1);
    EXPECT_EQ(hlp.U16(sys + 10), 0);
    std::map<uint16_t, size_t> records;
    for (size_t at = sys + 12; at < sys + files["|SYSTEM"].used; at += 4 + hlp.U16(at + 2))
        records.emplace(hlp.U16(at), at);
    EXPECT_EQ(hlp.U16(sys + 12), 1) << "the title record comes first";
    EXPECT_EQ(hlp.U16(records[3] + 2), 4);
    EXPECT_EQ(hlp.U16(records[6] + 2), 90);
    EXPECT_EQ(hlp.U16(records[6] + 4), 0x0006);
    EXPECT_EQ(hlp.Z(records[6] + 4 + 12), "main");

    size_t font = files["|FONT"].Data();
    uint16_t faces = hlp.U16(font), descriptors = hlp.U16(font + 2);
    EXPECT_GE(faces, 1);
    EXPECT_EQ(hlp.U16(font + 4), 8);
    EXPECT_EQ(hlp.U16(font + 6), 8 + 32 * faces);
    EXPECT_EQ(hlp.U8(font + hlp.U16(font + 6) + 11) & 1, 1) << "descriptor 1 is bold";

    BTreeView context(hlp, files["|CONTEXT"].Data());
    std::set<uint32_t> hashes;
    for (size_t at : context.Leaves())
        hashes.insert(hlp.U32(at));

    // The topic chain: positions, block headers, TOPICOFFSETs, and every text record's commands.
    size_t topic = files["|TOPIC"].Data();
    uint32_t pos = 12, prev = 0xFFFFFFFF, lastHeader = 0, block = 0, count = 0;
    bool first = true;
    uint8_t lastType = 0;
    while (pos != 0xFFFFFFFF) {
        uint32_t b = (pos - 12) >> 14, offsetInBlock = (pos - 12) & 0x3FFF;
        size_t at = topic + size_t{b} * 4096 + 12 + offsetInBlock;
        uint32_t size = hlp.U32(at), len2 = hlp.U32(at + 4), len1 = hlp.U32(at + 16);
        uint8_t type = hlp.U8(at + 20);
        EXPECT_LE(offsetInBlock + size, 4084u) << "record at " << pos << " crosses its block";
        EXPECT_EQ(hlp.U32(at + 8), prev);
        EXPECT_EQ(size, len1 + len2);
        if (first) {
            EXPECT_EQ(type, 2) << "the first record is a topic header";
        }
        if (b != block || first) {
            size_t bh = topic + size_t{b} * 4096;
            EXPECT_EQ(hlp.U32(bh), prev);
            EXPECT_EQ(hlp.U32(bh + 4), pos);
            EXPECT_EQ(hlp.U32(bh + 8), lastHeader);
            block = b;
            count = 0;
        }
        size_t ld1 = at + 21, ld2 = at + len1;
        if (type == 2) {
            s.topics.push_back({hlp.Text(ld2, len2), 0x8000 * b + count});
            lastHeader = pos;
        } else {
            EXPECT_EQ(type, 0x20);
            uint16_t w = hlp.U16(ld1);
            EXPECT_EQ(w & 1, 0) << "short TopicSize";
            int32_t topicSize = (w >> 1) - 0x4000;
            uint32_t topicLength = hlp.U8(ld1 + 2) & 1 ? hlp.U16(ld1 + 2) >> 1 : hlp.U8(ld1 + 2) >> 1;
            size_t p = ld1 + 2 + (hlp.U8(ld1 + 2) & 1 ? 2 : 1);
            EXPECT_EQ(topicLength, len2);
            EXPECT_EQ(static_cast<size_t>(topicSize), at + len1 - p);
            EXPECT_EQ(hlp.U8(p), 0x00);
            EXPECT_EQ(hlp.U8(p + 1), 0x80);
            uint16_t bits = hlp.U16(p + 4);
            p += 6;
            EXPECT_EQ(bits & ~0x7E, 0) << "only spacing and indent bits";
            for (uint16_t bit = 0x02; bit <= 0x40; bit <<= 1)
                if (bits & bit)
                    p += hlp.U8(p) & 1 ? 2 : 1;
            int commands = 0;
            bool open = false;
            for (uint8_t c = 0; c != 0xFF && p < at + len1; ++commands) {
                c = hlp.U8(p++);
                if (c == 0x80) {
                    EXPECT_LT(hlp.U16(p), descriptors);
                    p += 2;
                } else if (c == 0xE3) {
                    EXPECT_FALSE(open);
                    EXPECT_TRUE(hashes.contains(hlp.U32(p))) << "link to a hash not in |CONTEXT";
                    open = true;
                    p += 4;
                } else if (c == 0x89) {
                    EXPECT_TRUE(open) << "end of hotspot without a hotspot";
                    open = false;
                } else if (c != 0x82 && c != 0xFF) {
                    ADD_FAILURE() << "unexpected command " << int{c};
                }
            }
            EXPECT_EQ(p, at + len1) << "0xFF ends the commands";
            std::string text = hlp.Text(ld2, len2);
            EXPECT_EQ(std::count(text.begin(), text.end(), '\0'), commands);
            count += topicLength;
        }
        lastType = type;
        first = false;
        prev = pos;
        pos = hlp.U32(at + 12);
    }
    EXPECT_EQ(lastType, 2);
    EXPECT_EQ(s.topics.back().title, "") << "a closing record ends the chain";
    s.topics.pop_back();
    s.topicBlocks = block + 1;
    EXPECT_EQ(files["|TOPIC"].used, s.topicBlocks * 4096);

    EXPECT_EQ(hlp.U32(records[3] + 4), s.topics.front().offset) << "contents topic";
    s.contextLevels = context.levels;
    for (size_t at : context.Leaves())
        EXPECT_NE(TitleAt(s, hlp.U32(at + 4)), "(no topic at this offset)");
    std::vector<std::pair<uint32_t, std::string>> titles, expected;
    for (size_t at : BTreeView(hlp, files["|TTLBTREE"].Data()).Leaves())
        titles.emplace_back(hlp.U32(at), hlp.Z(at + 4));
    for (const auto &t : s.topics)
        expected.emplace_back(t.offset, t.title);
    EXPECT_EQ(titles, expected);
    size_t map = files["|CTXOMAP"].Data();
    for (uint16_t i = 0; i < hlp.U16(map); ++i)
        s.ids[hlp.U32(map + 2 + 8 * i)] = hlp.U32(map + 6 + 8 * i);
    return s;
}

HlpReader Compile(const std::string &source) {
    return HlpReader(hlpc::CompileHelp(hlpc::ParseHelpSource(source)));
}

TEST(ContextHash, MatchesTheViewersHash) {
    const struct {
        const char *key;
        uint32_t hash;
    } cases[] = {
        {"a", 0x11},
        {"A", 0x11},
        {"0", 0x0A},
        {"Z", 0x2A},
        {"contents", 0x25F4558A},
        {"CONTENTS", 0x25F4558A},
        {"topic_panels", 0x5FBDF1D9},
        {"topic_copy", 0xC7166323},
        {"topic_keys", 0xC71FD0FE},
        {"M359HPEHGW", 0x863C2C95},
        {"Y5VQEXZQVJ", 0x863C2C95},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hlpc::ContextHash(c.key), c.hash) << c.key;
}

TEST(HlpCompiler, RejectsUnsoundSources) {
    const struct {
        const char *source;
        const char *message;
    } cases[] = {
        {"@topic bad-key - T\nx\n", "only letters"},
        {"@topic M359HPEHGW - A\nx\n@topic Y5VQEXZQVJ - B\ny\n", "same hash as \"M359HPEHGW\""},
        {"@topic one 5 A\nx\n@topic ONE - B\ny\n", "same hash"},
        {"@topic one 5 A\nx\n@topic two 5 B\ny\n", "already used"},
        {"@topic one - A\nsee [it](nowhere)\n", "unknown topic \"nowhere\""},
        {"@topic one - A\nsome **bold\n", "line 2: \"**\" is not closed"},
        {"text first\n@topic one - A\n", "line 1: text before"},
        {"@topic one - \xD0\x96\n", "U+0416"},
        {"@topic one x A\n", "positive number"},
        {"; nothing\n", "no topic"},
    };
    for (const auto &c : cases) {
        try {
            Compile(c.source);
            ADD_FAILURE() << "accepted: " << c.source;
        } catch (const std::runtime_error &e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(HlpCompiler, SmallFileReadsBackAsWritten) {
    HlpReader hlp = Compile("@title Test Help\n"
                            "@topic main 10 Contents\n"
                            "See [the keys](topic_keys) and **this** in caf\xC3\xA9 \xE2\x80\x93 text.\n\n"
                            "## Heading\n- item one\n- item [two](main)\n"
                            "@topic topic_keys 11 Keys\nPress F1.\n"
                            "@topic topic_copy - Copy\nCopying.\n");
    Summary s = Inspect(hlp);
    ASSERT_EQ(s.topics.size(), 3u);
    EXPECT_EQ(s.topics[0].offset, 0u);
    EXPECT_EQ(TitleAt(s, TopicOffsetOf(hlp, "main")), "Contents");
    EXPECT_EQ(TitleAt(s, TopicOffsetOf(hlp, "TOPIC_KEYS")), "Keys");
    EXPECT_EQ(TitleAt(s, TopicOffsetOf(hlp, "topic_copy")), "Copy");
    EXPECT_EQ(TopicOffsetOf(hlp, "missing"), 0xFFFFFFFFu);
    EXPECT_EQ(s.ids, (std::map<uint32_t, uint32_t>{{10, s.topics[0].offset}, {11, s.topics[1].offset}}));

    std::vector<uint8_t> bytes(hlp.Size());
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = hlp.U8(i);
    std::string all(bytes.begin(), bytes.end());
    EXPECT_NE(all.find("caf\xE9 \x96 text"), std::string::npos) << "text in code page 1252";
}

TEST(HlpCompiler, LargeFileSpansBlocksAndTreeLevels) {
    std::ostringstream source;
    source << "@title Big\n";
    for (int t = 0; t < 400; ++t) {
        source << "@topic topic" << t << " " << t + 1 << " Topic number " << t << "\n";
        for (int p = 0; p < 3; ++p)
            source << "Paragraph " << p << " links to [the next](topic" << (t + 1) % 400
                   << ") with some **bold** words in it.\n\n";
    }
    HlpReader hlp = Compile(source.str());
    Summary s = Inspect(hlp);
    ASSERT_EQ(s.topics.size(), 400u);
    EXPECT_GT(s.topicBlocks, 20u);
    EXPECT_GE(s.contextLevels, 2);
    for (int t = 0; t < 400; t += 7) {
        std::string title = "Topic number " + std::to_string(t);
        EXPECT_EQ(TitleAt(s, TopicOffsetOf(hlp, "topic" + std::to_string(t))), title);
        EXPECT_EQ(TitleAt(s, s.ids[t + 1]), title);
    }
}

TEST(HlpCompiler, ZelvorHelpFileHasTheHelpMenuTopics) {
    std::string path = "Z:" ZELVOR_HELP_FILE;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    HlpReader hlp(std::vector<uint8_t>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    Summary s = Inspect(hlp);
    EXPECT_GE(s.topics.size(), 10u);
    const struct {
        help::HelpTopic topic;
        const char *title;
    } cases[] = {
        {help::kContentsTopic, "Zelvor Help"},
        {help::kIndexTopic, "Index"},
        {help::kFileOperationsTopic, "File operations"},
        {help::kKeyboardTopic, "Keyboard"},
    };
    for (const auto &c : cases) {
        std::wstring wide = c.topic.key;
        std::string key(wide.begin(), wide.end());
        EXPECT_EQ(TitleAt(s, TopicOffsetOf(hlp, key)), c.title) << key;
        EXPECT_EQ(TitleAt(s, s.ids[c.topic.id]), c.title) << c.topic.id;
    }
    EXPECT_EQ(s.topics.front().title, "Zelvor Help");
}

} // namespace
