#include "TopicWriter.h"

#include "ContextHash.h"

#include <stdexcept>

namespace hlpc {

namespace {

constexpr uint32_t kBlockSize = 4096;
constexpr uint32_t kBlockHeader = 12;
constexpr uint32_t kBlockData = kBlockSize - kBlockHeader;
constexpr uint32_t kLinkHeader = 21;
constexpr uint32_t kTopicHeaderData = 28;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint8_t kTypeTopicHeader = 0x02;
constexpr uint8_t kTypeText = 0x20;

enum ParagraphBits : uint16_t { kSpaceBefore = 0x0002, kSpaceAfter = 0x0004, kLeftIndent = 0x0010 };

struct Record {
    uint8_t type = kTypeText;
    size_t topic = 0;
    ByteBuffer linkData1;
    std::string linkData2;
    uint32_t pos = 0;    // TOPICPOS
    uint32_t offset = 0; // TOPICOFFSET
    uint32_t block = 0;

    uint32_t Size() const { return kLinkHeader + static_cast<uint32_t>(linkData1.Size() + linkData2.size()); }
};

// Collects the text pieces and the formatting commands between them: every command closes the
// piece of text before it, so the text part holds one NUL-terminated piece per command.
class ParagraphBuilder {
public:
    explicit ParagraphBuilder(uint16_t font) { Font(font); }

    void Text(const std::string &s) {
        for (char c : s)
            piece_ += c == '\t' ? ' ' : c;
    }
    void Font(uint16_t font) {
        Close(0x80);
        commands_.U16(font);
    }
    void Jump(const std::string &key) {
        Close(0xE3);
        commands_.U32(ContextHash(key));
    }
    void EndJump() { Close(0x89); }

    Record Finish(uint16_t flags, const std::vector<int16_t> &values) {
        Close(0x82);
        Close(0xFF);
        ByteBuffer after; // everything that follows TopicSize and TopicLength
        after.U8(0x00);
        after.U8(0x80);
        after.U16(0); // paragraph id
        after.U16(flags);
        for (int16_t v : values)
            after.CompressedS16(v);
        after.Append(commands_);
        Record r;
        r.linkData1.CompressedS32(static_cast<int32_t>(after.Size()));
        r.linkData1.CompressedU16(static_cast<uint32_t>(text_.size()));
        r.linkData1.Append(after);
        r.linkData2 = std::move(text_);
        return r;
    }

private:
    void Close(uint8_t command) {
        text_ += piece_;
        text_ += '\0';
        piece_.clear();
        commands_.U8(command);
    }

    ByteBuffer commands_;
    std::string text_;
    std::string piece_;
};

Record TextRecord(const Paragraph &p) {
    ParagraphBuilder b(p.style == Paragraph::Style::Heading ? kFontBold : kFontBody);
    for (const Run &run : p.runs) {
        switch (run.kind) {
        case Run::Kind::Text:
            b.Text(run.text);
            break;
        case Run::Kind::Bold:
            b.Font(kFontBold);
            b.Text(run.text);
            b.Font(p.style == Paragraph::Style::Heading ? kFontBold : kFontBody);
            break;
        case Run::Kind::Link:
            b.Jump(run.target);
            b.Text(run.text);
            b.EndJump();
            break;
        }
    }
    switch (p.style) {
    case Paragraph::Style::Heading:
        return b.Finish(kSpaceBefore, {12});
    case Paragraph::Style::Item:
        return b.Finish(kSpaceBefore | kLeftIndent, {3, 18});
    case Paragraph::Style::Body:
        break;
    }
    return b.Finish(kSpaceBefore, {6});
}

Record TitleRecord(const std::string &title) {
    ParagraphBuilder b(kFontTitle);
    b.Text(title);
    return b.Finish(kSpaceAfter, {6});
}

Record HeaderRecord(size_t topic, const std::string &title) {
    Record r;
    r.type = kTypeTopicHeader;
    r.topic = topic;
    for (uint32_t i = 0; i < kTopicHeaderData; i += 4)
        r.linkData1.U32(0); // filled once every position is known
    r.linkData2 = title;    // the last string of a header carries no NUL
    return r;
}

void PutU32(ByteBuffer &b, size_t at, uint32_t v) {
    b.PatchU32(at, v);
}

} // namespace

TopicFile WriteTopicFile(const HelpProject &project) {
    std::vector<Record> records;
    for (size_t t = 0; t < project.topics.size(); ++t) {
        const Topic &topic = project.topics[t];
        records.push_back(HeaderRecord(t, topic.title));
        records.push_back(TitleRecord(topic.title));
        records.back().topic = t;
        for (const Paragraph &p : topic.paragraphs) {
            records.push_back(TextRecord(p));
            records.back().topic = t;
        }
    }
    records.push_back(HeaderRecord(project.topics.size(), std::string()));

    // Positions: a record that does not fit into the rest of a block starts the next one.
    uint32_t block = 0, used = 0, count = 0;
    for (Record &r : records) {
        if (r.Size() > kBlockData)
            throw std::length_error("a paragraph of topic \"" + project.topics[r.topic].title +
                                    "\" is too long; split it into several paragraphs");
        if (used + r.Size() > kBlockData) {
            ++block;
            used = 0;
            count = 0;
        }
        r.block = block;
        r.pos = 0x4000 * block + kBlockHeader + used;
        r.offset = 0x8000 * block + count;
        used += r.Size();
        if (r.type == kTypeText)
            count += static_cast<uint32_t>(r.linkData2.size());
    }

    TopicFile result;
    std::vector<size_t> headers;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].type == kTypeTopicHeader)
            headers.push_back(i);
    for (size_t h = 0; h < headers.size(); ++h) {
        Record &r = records[headers[h]];
        bool closing = h + 1 == headers.size();
        size_t end = closing ? records.size() : headers[h + 1];
        uint32_t topicBytes = 0;
        for (size_t i = headers[h]; i < end; ++i)
            topicBytes += records[i].Size();
        PutU32(r.linkData1, 0, topicBytes);
        PutU32(r.linkData1, 4, kNone); // no browse sequence
        PutU32(r.linkData1, 8, kNone);
        PutU32(r.linkData1, 12, static_cast<uint32_t>(h));
        PutU32(r.linkData1, 16, kNone); // no non-scrolling region
        PutU32(r.linkData1, 20, closing ? kNone : records[headers[h] + 1].pos);
        PutU32(r.linkData1, 24, closing ? kNone : records[headers[h + 1]].pos);
        if (!closing)
            result.topicOffsets.push_back(r.offset);
    }

    ByteBuffer &out = result.bytes;
    size_t next = 0;
    uint32_t lastHeaderBefore = 0;
    for (uint32_t b = 0; b <= block; ++b) {
        size_t blockStart = out.Size();
        out.U32(next == 0 ? kNone : records[next - 1].pos);
        out.U32(records[next].pos);
        out.U32(lastHeaderBefore);
        for (; next < records.size() && records[next].block == b; ++next) {
            const Record &r = records[next];
            out.U32(r.Size());
            out.U32(static_cast<uint32_t>(r.linkData2.size()));
            out.U32(next == 0 ? kNone : records[next - 1].pos);
            out.U32(next + 1 == records.size() ? kNone : records[next + 1].pos);
            out.U32(kLinkHeader + static_cast<uint32_t>(r.linkData1.Size()));
            out.U8(r.type);
            out.Append(r.linkData1);
            out.Bytes(r.linkData2);
            if (r.type == kTypeTopicHeader)
                lastHeaderBefore = r.pos;
        }
        out.Zeros(blockStart + kBlockSize - out.Size());
    }
    return result;
}

} // namespace hlpc
