#include "viewer/TextLoader.h"

#include "ui/Text.h"

namespace viewer {

EViewLoadError CannotOpenFile(const std::wstring &path) {
    return EViewLoadError(ui::Narrow(L"Cannot open file " + path));
}

std::string NormalizeLineBreaks(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n') ++i;
        } else if (c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
    }
    return out;
}

std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), n);
    return text;
}

} // namespace viewer
