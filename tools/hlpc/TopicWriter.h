#pragma once
#include <cstdint>
#include <vector>

#include "ByteBuffer.h"
#include "HelpSource.h"

namespace hlpc {

// Font descriptors the topic text refers to; the |FONT file must define them in this order.
enum FontIndex : uint16_t { kFontBody = 0, kFontBold = 1, kFontTitle = 2, kFontCount = 3 };

struct TopicFile {
    ByteBuffer bytes;                   // the |TOPIC internal file's data
    std::vector<uint32_t> topicOffsets; // TOPICOFFSET of each topic, in project order
};

// Lays out every topic of a validated project: a topic-header record, the title as a heading,
// one text record per paragraph, and a closing record, in 4 KB blocks that no record crosses.
TopicFile WriteTopicFile(const HelpProject &project);

} // namespace hlpc
