#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hlpc {

// A growing little-endian byte image, with the compressed integer forms that topic records use.
class ByteBuffer {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Bytes(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    void Append(const ByteBuffer &other) { bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end()); }
    void StringZ(std::string_view s) {
        Bytes(s);
        U8(0);
    }
    // The text cut or padded with zeros to exactly `width` bytes.
    void Fixed(std::string_view s, size_t width) {
        for (size_t i = 0; i < width; ++i)
            U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    }
    void Zeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }
    void PatchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
    }
    void PatchU16(size_t at, uint16_t v) {
        bytes_.at(at) = static_cast<uint8_t>(v);
        bytes_.at(at + 1) = static_cast<uint8_t>(v >> 8);
    }

    // Compressed unsigned short: one byte up to 127, two bytes up to 32767.
    void CompressedU16(uint32_t v) {
        if (v < 0x80)
            U8(static_cast<uint8_t>(v * 2));
        else if (v < 0x8000)
            U16(static_cast<uint16_t>(v * 2 + 1));
        else
            throw std::length_error("value too large for a compressed short");
    }
    // Compressed signed short: one byte for -64..63, two bytes for -16384..16383.
    void CompressedS16(int32_t v) {
        if (v >= -0x40 && v < 0x40)
            U8(static_cast<uint8_t>((v + 0x40) * 2));
        else if (v >= -0x4000 && v < 0x4000)
            U16(static_cast<uint16_t>((v + 0x4000) * 2 + 1));
        else
            throw std::length_error("value too large for a compressed signed short");
    }
    // Compressed signed long, short form only: the long form's bias is disputed between readers.
    void CompressedS32(int32_t v) {
        if (v < -0x4000 || v >= 0x4000)
            throw std::length_error("value too large for a compressed signed long");
        U16(static_cast<uint16_t>((v + 0x4000) * 2));
    }

    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t> &Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace hlpc
