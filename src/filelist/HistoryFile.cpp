#include "filelist/HistoryFile.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include "ui/Handles.h"
#include "ui/Text.h"

namespace filelist {

namespace {

[[noreturn]] void Fail(const wchar_t *what, const std::wstring &path) {
    throw ui::Error(what + path);
}

bool WriteAll(HANDLE file, const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string ReadAll(const std::wstring &path) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        Fail(L"Cannot open file ", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF)
        Fail(L"Cannot open file ", path);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    std::string buffer(1u << 20, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            Fail(L"Cannot open file ", path);
        if (got == 0)
            break;
        bytes.append(buffer.data(), got);
    }
    return bytes;
}

} // namespace

std::wstring HistoryFilePath() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"cmd.his";
}

namespace {

// Where each line stands in the bytes: no code page puts CR or LF inside a character, so the bytes can
// be cut before they are decoded.
std::vector<std::pair<size_t, size_t>> LineSpans(const std::string &bytes) {
    std::vector<std::pair<size_t, size_t>> spans;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos)
            end = bytes.size();
        spans.emplace_back(i, end - i);
        i = end;
        if (i < bytes.size() && bytes[i] == '\r')
            ++i;
        if (i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    return spans;
}

void WriteHistoryBytes(const std::wstring &path, const std::string &bytes) {
    std::wstring temp = path + L".tmp";
    {
        ui::KernelHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            Fail(L"Cannot create file ", path);
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(temp.c_str());
            Fail(L"Cannot create file ", path);
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        Fail(L"Cannot create file ", path);
    }
}

void AppendLine(std::string &bytes, const std::string &line) {
    bytes += line;
    bytes += "\r\n";
}

} // namespace

std::optional<std::vector<std::string>> ReadHistoryLines(const std::wstring &path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    std::string bytes = ReadAll(path);
    std::vector<std::string> lines;
    for (const auto &[start, length] : LineSpans(bytes))
        lines.emplace_back(bytes, start, length);
    return lines;
}

std::wstring DecodeHistoryLine(const std::string &bytes) {
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::optional<std::string> EncodeHistoryLine(const std::wstring &text) {
    if (text.find_first_of(L"\r\n") != std::wstring::npos)
        return std::nullopt;
    if (text.empty())
        return std::string();
    // The system's best fit would write "?" or a look-alike letter; the line must read back as typed.
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    if (DecodeHistoryLine(bytes) != text)
        return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::wstring>> ReadHistoryFile(const std::wstring &path) {
    return THistoryFile().Load(path);
}

void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines) {
    THistoryFile().Save(path, lines);
}

std::optional<std::vector<std::wstring>> THistoryFile::Load(const std::wstring &path) {
    path_ = path;
    known_ = false;
    unreadable_ = true;
    entries_.clear();
    lines_.clear();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        unreadable_ = false;
        return std::nullopt;
    }
    std::string bytes = ReadAll(path);
    unreadable_ = false;
    auto spans = LineSpans(bytes);
    entries_.reserve(spans.size());
    lines_.reserve(spans.size());
    // In a code page of one byte per character, the whole text decodes at once and each line's text
    // stands at its bytes' place.
    CPINFO info{};
    bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    std::wstring text = singleByte ? DecodeHistoryLine(bytes) : std::wstring();
    singleByte = singleByte && text.size() == bytes.size();
    for (const auto &[start, length] : spans) {
        lines_.emplace_back(std::string(bytes, start, length));
        entries_.push_back(singleByte ? text.substr(start, length) : DecodeHistoryLine(*lines_.back()));
    }
    known_ = true;
    return entries_;
}

void THistoryFile::Save(const std::wstring &path, const std::vector<std::wstring> &entries) {
    bool same = path == path_;
    if (same && unreadable_)
        return;
    // The entries the file already holds, from the start.
    size_t common = 0;
    if (same && known_)
        while (common < entries.size() && common < entries_.size() && entries[common] == entries_[common])
            ++common;
    if (same && known_ && common == entries.size() && common == entries_.size())
        return;
    std::vector<std::optional<std::string>> added;
    added.reserve(entries.size() - common);
    size_t total = 0;
    for (size_t i = 0; i < common; ++i)
        total += lines_[i] ? lines_[i]->size() + 2 : 0;
    for (size_t i = common; i < entries.size(); ++i) {
        added.push_back(EncodeHistoryLine(entries[i]));
        total += added.back() ? added.back()->size() + 2 : 0;
    }
    std::string bytes;
    bytes.reserve(total);
    for (size_t i = 0; i < common; ++i)
        if (lines_[i])
            AppendLine(bytes, *lines_[i]);
    for (const auto &line : added)
        if (line)
            AppendLine(bytes, *line);
    WriteHistoryBytes(path, bytes);

    path_ = path;
    known_ = true;
    unreadable_ = false;
    entries_.resize(common);
    entries_.insert(entries_.end(), entries.begin() + static_cast<std::ptrdiff_t>(common), entries.end());
    lines_.resize(common);
    for (auto &line : added)
        lines_.push_back(std::move(line));
}

} // namespace filelist
