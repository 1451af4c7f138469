#include "ui/Text.h"

#include <windows.h>

namespace ui {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring ShownPath(const std::wstring &path) {
    static const std::wstring kUnc = L"\\\\?\\UNC\\", kLong = L"\\\\?\\";
    if (path.compare(0, kUnc.size(), kUnc) == 0) return L"\\\\" + path.substr(kUnc.size());
    if (path.compare(0, kLong.size(), kLong) == 0) return path.substr(kLong.size());
    return path;
}

std::runtime_error Error(std::wstring_view message) { return std::runtime_error(Narrow(message)); }

std::wstring SystemErrorText(unsigned long code) {
    wchar_t *buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text.empty() ? L"Error " + std::to_wstring(code) + L"." : text;
}

} // namespace ui
