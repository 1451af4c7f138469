#include "sysinfo/InfVer.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "ui/LateBound.h"

namespace sysinfo {

namespace {

// "041904E3" from the translation entry 0x04E30419: the language's four digits, then the code page's.
std::wstring BlockKey(std::uint32_t translation) {
    wchar_t digits[9] = {};
    swprintf(digits, ARRAYSIZE(digits), L"%08X", static_cast<unsigned>(translation));
    return std::wstring(digits + 4, 4) + std::wstring(digits, 4);
}

} // namespace

std::wstring RunningExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

void TInfoVersion::ReadVersionInfo(const std::wstring &path) {
    static const auto GetFileVersionInfoSizeW =
        ui::LateBound<decltype(&::GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    static const auto GetFileVersionInfoW =
        ui::LateBound<decltype(&::GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    static const auto VerQueryValueW = ui::LateBound<decltype(&::VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    if (!GetFileVersionInfoSizeW || !GetFileVersionInfoW || !VerQueryValueW)
        return;
    const std::wstring file = path.empty() ? RunningExecutablePath() : path;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return;

    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) || !value ||
        length < sizeof(std::uint32_t))
        return;
    std::uint32_t translation = 0;
    std::memcpy(&translation, value, sizeof(translation));
    const std::wstring prefix = L"\\StringFileInfo\\" + BlockKey(translation) + L"\\";

    const struct {
        const wchar_t *key;
        std::wstring TInfoVersion::*text;
    } keys[] = {
        {L"CompanyName", &TInfoVersion::companyName_},       {L"FileDescription", &TInfoVersion::fileDescription_},
        {L"FileVersion", &TInfoVersion::fileVersion_},       {L"InternalName", &TInfoVersion::internalName_},
        {L"LegalCopyright", &TInfoVersion::legalCopyright_}, {L"OriginalFilename", &TInfoVersion::originalFilename_},
        {L"ProductName", &TInfoVersion::productName_},       {L"ProductVersion", &TInfoVersion::productVersion_}};
    for (const auto &entry : keys) {
        value = nullptr;
        length = 0;
        std::wstring &text = this->*entry.text;
        if (VerQueryValueW(data.data(), (prefix + entry.key).c_str(), &value, &length) && value)
            text.assign(static_cast<const wchar_t *>(value), wcsnlen(static_cast<const wchar_t *>(value), length));
        else
            text.clear();
    }
}

} // namespace sysinfo
