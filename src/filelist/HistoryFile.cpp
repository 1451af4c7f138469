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

// A save that cannot be made: what failed, why, and that nothing is lost.
[[noreturn]] void FailToSave(const std::wstring &path, const std::wstring &why) {
    throw ui::Error(L"Cannot create file " + path + L"\n" + why +
                    L"\nThe file is left as it was; this run's commands stay in the command line's history "
                    L"until Zelvor closes.");
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
    const char *data = bytes.data();
    size_t i = 0;
    while (i < bytes.size()) {
        // A plain scan: find_first_of tries each byte against the set one call at a time.
        size_t end = i;
        while (end < bytes.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        spans.emplace_back(i, end - i);
        i = end;
        if (i < bytes.size() && bytes[i] == '\r')
            ++i;
        if (i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    return spans;
}

// The whole file is written beside the old one and then takes its place: a write that fails half-way
// (a full disk, a medium pulled out) leaves the old file whole.
void WriteHistoryBytes(const std::wstring &path, const std::string &bytes) {
    std::wstring temp = path + L".tmp";
    {
        ui::KernelHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            FailToSave(path, ui::SystemErrorText(GetLastError()));
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            DWORD error = GetLastError();
            file.reset();
            DeleteFileW(temp.c_str());
            FailToSave(path, ui::SystemErrorText(error));
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        FailToSave(path, ui::SystemErrorText(error));
    }
}

// Held while a copy of the program reads the file as it stands, adds its lines and replaces it, so that
// two copies closing at once each add theirs to what the other wrote. Gone with its handle, even when
// the program is ended.
class THistoryLock {
public:
    explicit THistoryLock(const std::wstring &path) {
        const std::wstring lock = path + L".lock";
        // A save takes milliseconds; a copy that holds the lock longer is stuck.
        for (int tries = 0; tries < 100; ++tries) {
            handle_.reset(CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
            if (handle_.get() != INVALID_HANDLE_VALUE)
                return;
            DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
                FailToSave(path, ui::SystemErrorText(error));
            // Another copy's lock answers "sharing violation", or "access denied" while it is being
            // removed; a folder that cannot be written answers "access denied" with no lock in it, and
            // is not waited for.
            if (error == ERROR_ACCESS_DENIED && GetFileAttributesW(lock.c_str()) == INVALID_FILE_ATTRIBUTES &&
                GetLastError() == ERROR_FILE_NOT_FOUND)
                FailToSave(path, ui::SystemErrorText(error));
            Sleep(50);
        }
        FailToSave(path, L"Another copy of Zelvor is saving it.");
    }

private:
    ui::KernelHandle handle_;
};

void AppendLine(std::string &bytes, const std::string &line) {
    bytes += line;
    bytes += "\r\n";
}

// The file's bytes as they stand now; empty when there is no file.
std::string CurrentBytes(const std::wstring &path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {};
    try {
        return ReadAll(path);
    } catch (const std::exception &) {
        FailToSave(path, L"It cannot be read now, so the lines in it cannot be kept.");
    }
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
    // No ANSI code page makes more than one UTF-16 unit of a byte, so one pass into a buffer of the
    // bytes' length does (a 10 MB history is decoded once, not measured first).
    std::wstring text(bytes.size(), L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(n, 0)));
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
    known_text_.clear();
    known_spans_.clear();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // Known to hold nothing: a file another copy makes meanwhile is added to, not written over.
        unreadable_ = false;
        known_ = true;
        return std::nullopt;
    }
    std::string bytes = ReadAll(path);
    unreadable_ = false;
    auto spans = LineSpans(bytes);
    std::vector<std::wstring> entries;
    entries.reserve(spans.size());
    // In a code page of one byte per character, the whole text decodes at once and each line's text
    // stands at its bytes' place; that text is kept as what the file holds, so nothing is copied twice.
    CPINFO info{};
    bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    std::wstring text = singleByte ? DecodeHistoryLine(bytes) : std::wstring();
    if (singleByte && text.size() == bytes.size()) {
        for (const auto &[start, length] : spans)
            entries.emplace_back(text, start, length);
        known_text_ = std::move(text);
        known_spans_ = std::move(spans);
    } else {
        for (const auto &[start, length] : spans)
            entries.push_back(DecodeHistoryLine(std::string(bytes, start, length)));
        Remember(entries);
    }
    known_ = true;
    return entries;
}

void THistoryFile::Save(const std::wstring &path, const std::vector<std::wstring> &entries) {
    bool same = path == path_;
    if (same && unreadable_)
        return;
    // The entries the file already holds, from the start.
    bool known = same && known_;
    size_t common = 0;
    if (known)
        while (common < entries.size() && common < known_spans_.size() &&
               std::wstring_view(entries[common]) == KnownEntry(common))
            ++common;
    if (known && common == entries.size())
        return;
    try {
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            FailToSave(path, L"It is marked read-only, and Zelvor does not write over it.");
        THistoryLock lock(path);
        std::string bytes;
        if (known) {
            // Added to the file as it stands now: lines another copy of the program added since this one
            // read or wrote it stay, byte for byte, and this run's come after them.
            bytes = CurrentBytes(path);
            if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n')
                bytes += "\r\n";
        }
        for (size_t i = known ? common : 0; i < entries.size(); ++i)
            if (auto line = EncodeHistoryLine(entries[i]))
                AppendLine(bytes, *line);
        WriteHistoryBytes(path, bytes);
    } catch (const std::exception &) {
        // Said once a run: the next save (the one at exit) fails as quietly as it keeps the file.
        if (failed_)
            return;
        failed_ = true;
        throw;
    }
    path_ = path;
    known_ = true;
    unreadable_ = false;
    Remember(entries);
}

void THistoryFile::Remember(const std::vector<std::wstring> &entries) {
    known_text_.clear();
    known_spans_.clear();
    known_spans_.reserve(entries.size());
    for (const std::wstring &entry : entries) {
        known_spans_.emplace_back(known_text_.size(), entry.size());
        known_text_ += entry;
    }
}

std::wstring_view THistoryFile::KnownEntry(size_t index) const {
    const auto &[start, length] = known_spans_[index];
    return std::wstring_view(known_text_).substr(start, length);
}

} // namespace filelist
