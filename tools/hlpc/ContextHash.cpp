#include "ContextHash.h"

namespace hlpc {

namespace {

int Weight(char c) {
    if (c >= '1' && c <= '9')
        return c - '0';
    if (c == '0')
        return 10;
    if (c == '.')
        return 12;
    if (c == '_')
        return 13;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 17;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 17;
    return -1;
}

} // namespace

bool IsValidContextKey(std::string_view key) {
    if (key.empty())
        return false;
    for (char c : key)
        if (Weight(c) < 0)
            return false;
    return true;
}

uint32_t ContextHash(std::string_view key) {
    uint32_t hash = 0;
    for (char c : key)
        hash = hash * 43 + static_cast<uint32_t>(Weight(c));
    return hash;
}

} // namespace hlpc
