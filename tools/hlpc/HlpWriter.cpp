#include "HlpWriter.h"

#include "BTree.h"
#include "ContextHash.h"
#include "TopicWriter.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace hlpc {

namespace {

constexpr uint32_t kFileMagic = 0x00035F3F;
constexpr size_t kCaptionLength = 50;

[[noreturn]] void Fail(const Topic &topic, const std::string &message) {
    throw std::runtime_error("line " + std::to_string(topic.line) + ": topic \"" + topic.key + "\": " + message);
}

void Validate(const HelpProject &project) {
    std::map<uint32_t, const Topic *> byHash;
    std::map<uint32_t, const Topic *> byId;
    for (const Topic &topic : project.topics) {
        if (!IsValidContextKey(topic.key))
            Fail(topic, "a context key may hold only letters, digits, \".\" and \"_\"");
        auto [it, added] = byHash.emplace(ContextHash(topic.key), &topic);
        if (!added)
            Fail(topic, "its context key has the same hash as \"" + it->second->key + "\"");
        if (topic.mapId != 0) {
            auto [idIt, idAdded] = byId.emplace(topic.mapId, &topic);
            if (!idAdded)
                Fail(topic, "its id is already used by \"" + idIt->second->key + "\"");
        }
    }
    for (const Topic &topic : project.topics)
        for (const Paragraph &p : topic.paragraphs)
            for (const Run &run : p.runs)
                if (run.kind == Run::Kind::Link &&
                    (!IsValidContextKey(run.target) || !byHash.contains(ContextHash(run.target))))
                    Fail(topic, "links to the unknown topic \"" + run.target + "\"");
}

std::string U32Bytes(uint32_t v) {
    ByteBuffer b;
    b.U32(v);
    return std::string(b.Data().begin(), b.Data().end());
}

ByteBuffer SystemFile(const HelpProject &project, uint32_t contentsOffset) {
    const std::string &title = project.title.empty() ? project.topics.front().title : project.title;
    ByteBuffer sys;
    sys.U16(0x036C);
    sys.U16(33); // a WinHelp 4.0 file
    sys.U16(1);
    sys.U32(0); // no build date: the same source gives the same file
    sys.U16(0); // no compression
    auto record = [&](uint16_t type, const ByteBuffer &data) {
        sys.U16(type);
        sys.U16(static_cast<uint16_t>(data.Size()));
        sys.Append(data);
    };
    ByteBuffer data;
    data.StringZ(title);
    record(1, data); // the title first: the window record's caption may fall back on it
    if (!project.copyright.empty()) {
        data = {};
        data.StringZ(project.copyright);
        record(2, data);
    }
    data = {};
    data.U32(contentsOffset);
    record(3, data);
    // The main window definition carries the caption; without it Wine's viewer keeps its own.
    data = {};
    data.U16(0x0006); // name and caption valid
    data.Fixed("", 10);
    data.Fixed("main", 9);
    data.Fixed(title.substr(0, kCaptionLength), 51);
    data.Zeros(18);
    record(6, data);
    return sys;
}

ByteBuffer FontFile() {
    constexpr uint16_t kFaceLength = 32;
    ByteBuffer font;
    font.U16(1);
    font.U16(kFontCount);
    font.U16(8);
    font.U16(8 + kFaceLength);
    font.Fixed("Arial", kFaceLength);
    struct Descriptor {
        uint8_t attributes, halfPoints;
    };
    const Descriptor descriptors[kFontCount] = {{0x00, 20}, {0x01, 20}, {0x01, 28}}; // body, bold, title
    for (const auto &d : descriptors) {
        font.U8(d.attributes);
        font.U8(d.halfPoints);
        font.U8(3);    // swiss family
        font.U16(0);   // face 0
        font.Zeros(6); // black text, no background
    }
    return font;
}

ByteBuffer ContextFile(const HelpProject &project, const std::vector<uint32_t> &offsets) {
    std::vector<std::pair<int32_t, uint32_t>> entries;
    for (size_t t = 0; t < project.topics.size(); ++t)
        entries.emplace_back(static_cast<int32_t>(ContextHash(project.topics[t].key)), offsets[t]);
    std::sort(entries.begin(), entries.end()); // signed order, as viewers search it
    std::vector<BTreeEntry> tree;
    for (auto [hash, offset] : entries)
        tree.push_back(
            {U32Bytes(static_cast<uint32_t>(hash)) + U32Bytes(offset), U32Bytes(static_cast<uint32_t>(hash))});
    return BuildBTree(tree, kContextTree);
}

ByteBuffer TitleFile(const HelpProject &project, const std::vector<uint32_t> &offsets) {
    std::vector<BTreeEntry> tree;
    for (size_t t = 0; t < project.topics.size(); ++t)
        tree.push_back({U32Bytes(offsets[t]) + project.topics[t].title + '\0', U32Bytes(offsets[t])});
    return BuildBTree(tree, kTitleTree); // topics are in file order, so offsets ascend
}

ByteBuffer ContextMapFile(const HelpProject &project, const std::vector<uint32_t> &offsets) {
    ByteBuffer map;
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    for (size_t t = 0; t < project.topics.size(); ++t)
        if (project.topics[t].mapId != 0)
            entries.emplace_back(project.topics[t].mapId, offsets[t]);
    std::sort(entries.begin(), entries.end());
    map.U16(static_cast<uint16_t>(entries.size()));
    for (auto [id, offset] : entries) {
        map.U32(id);
        map.U32(offset);
    }
    return map;
}

void AppendInternalFile(ByteBuffer &out, const ByteBuffer &data, uint8_t flags) {
    out.U32(static_cast<uint32_t>(data.Size() + 9));
    out.U32(static_cast<uint32_t>(data.Size()));
    out.U8(flags);
    out.Append(data);
}

} // namespace

std::vector<uint8_t> CompileHelp(const HelpProject &project) {
    if (project.topics.empty())
        throw std::runtime_error("the help source has no topic");
    Validate(project);
    TopicFile topic = WriteTopicFile(project);
    const auto &offsets = topic.topicOffsets;

    // Directory names in byte order, which is also the order they are laid out in.
    const std::pair<const char *, ByteBuffer> files[] = {
        {"|CONTEXT", ContextFile(project, offsets)},
        {"|CTXOMAP", ContextMapFile(project, offsets)},
        {"|FONT", FontFile()},
        {"|SYSTEM", SystemFile(project, offsets.front())},
        {"|TOPIC", std::move(topic.bytes)},
        {"|TTLBTREE", TitleFile(project, offsets)},
    };

    ByteBuffer out;
    out.Zeros(16);
    std::vector<BTreeEntry> directory;
    for (const auto &[name, data] : files) {
        directory.push_back(
            {std::string(name) + '\0' + U32Bytes(static_cast<uint32_t>(out.Size())), std::string(name) + '\0'});
        AppendInternalFile(out, data, 0);
    }
    uint32_t directoryStart = static_cast<uint32_t>(out.Size());
    AppendInternalFile(out, BuildBTree(directory, kDirectoryTree), 4);
    out.PatchU32(0, kFileMagic);
    out.PatchU32(4, directoryStart);
    out.PatchU32(8, 0xFFFFFFFF); // no free-block list
    out.PatchU32(12, static_cast<uint32_t>(out.Size()));
    return out.Take();
}

} // namespace hlpc
