#include "filelist/HistoryFile.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

ui::KernelHandle OpenToRead(const std::wstring &path, size_t &size) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        Fail(L"Cannot open file ", path);
    LARGE_INTEGER bytes{};
    if (!GetFileSizeEx(file.get(), &bytes) || bytes.QuadPart > 0x7FFFFFFE)
        Fail(L"Cannot open file ", path);
    size = static_cast<size_t>(bytes.QuadPart);
    return file;
}

// Reads on from where the file stands until `buffer` is full or the file ends; how many bytes came.
size_t ReadUpTo(HANDLE file, char *buffer, size_t capacity, const std::wstring &path) {
    size_t done = 0;
    while (done < capacity) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, static_cast<DWORD>(std::min<size_t>(capacity - done, 1u << 30)), &got,
                      nullptr))
            Fail(L"Cannot open file ", path);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// The whole file, read straight into its place. One byte of room more than the file's size tells a file
// that grew while it was read: that one is read on to its new end, never taken as whole when cut short.
std::string ReadAll(const std::wstring &path) {
    size_t size = 0;
    ui::KernelHandle file = OpenToRead(path, size);
    std::string bytes(size + 1, '\0');
    size_t done = 0;
    for (;;) {
        done += ReadUpTo(file.get(), bytes.data() + done, bytes.size() - done, path);
        if (done < bytes.size())
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(done);
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

using Span = ui::THistoryEntries::Span;

// Where each line stands in the bytes: no code page puts CR or LF inside a character, so the bytes can
// be cut before they are decoded.
std::vector<Span> LineSpans(std::string_view bytes) {
    std::vector<Span> spans;
    // Commands are mostly longer than this: the list of places is not grown and copied again and again,
    // and room never used takes no memory pages.
    spans.reserve(bytes.size() / 32);
    const char *data = bytes.data();
    const size_t size = bytes.size();
    size_t i = 0;
    while (i < size) {
        // Four bytes at a time while none of them is below 14, so none is a CR or an LF: a history is
        // read at start, and a byte at a time took as long as reading the file.
        size_t end = i;
        for (uint32_t word; end + 4 <= size; end += 4) {
            std::memcpy(&word, data + end, 4);
            if ((word - 0x0E0E0E0Eu) & ~word & 0x80808080u)
                break;
        }
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        spans.emplace_back(i, end - i);
        i = end;
        if (i < size && data[i] == '\r')
            ++i;
        if (i < size && data[i] == '\n')
            ++i;
    }
    return spans;
}

// Each byte's character, where the ANSI code page has one byte for every character.
std::optional<std::array<wchar_t, 256>> SingleByteCharacters() {
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1)
        return std::nullopt;
    char bytes[256];
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    std::array<wchar_t, 256> characters{};
    if (MultiByteToWideChar(CP_ACP, 0, bytes, 256, characters.data(), 256) != 256)
        return std::nullopt;
    return characters;
}

// The file's lines decoded, in one text.
ui::THistoryEntries ReadEntries(const std::wstring &path) {
    if (auto characters = SingleByteCharacters()) {
        // The bytes are read into the upper half of the text's own buffer and decoded in place, front to
        // back: character i is written over bytes 2i and 2i+1, which lie below byte i's place (from
        // `size + 1` bytes on), so no byte is overwritten before it is read. The file is read once, into
        // memory that is kept; fresh memory is what a 10 MB read costs most.
        size_t size = 0;
        ui::KernelHandle file = OpenToRead(path, size);
        std::wstring text(size + 1, L'\0');
        char *bytes = reinterpret_cast<char *>(text.data()) + text.size();
        size_t got = ReadUpTo(file.get(), bytes, text.size(), path);
        if (got < text.size()) {
            std::vector<Span> spans = LineSpans(std::string_view(bytes, got));
            wchar_t *out = text.data();
            for (size_t i = 0; i < got; ++i)
                out[i] = (*characters)[static_cast<unsigned char>(bytes[i])];
            text.resize(got);
            return ui::THistoryEntries(std::move(text), std::move(spans));
        }
        // The file grew while it was read: read whole below.
    }
    std::string bytes = ReadAll(path);
    std::vector<Span> spans = LineSpans(bytes);
    // No ANSI code page makes more than one UTF-16 unit of a byte; each line keeps a character after it.
    std::wstring text(bytes.size() + 1, L'\0');
    size_t used = 0;
    for (auto &[start, length] : spans) {
        int n = length == 0 ? 0
                            : MultiByteToWideChar(CP_ACP, 0, bytes.data() + start, static_cast<int>(length),
                                                  text.data() + used, static_cast<int>(length));
        start = used;
        length = static_cast<size_t>(std::max(n, 0));
        used += length + 1;
    }
    text.resize(used);
    return ui::THistoryEntries(std::move(text), std::move(spans));
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
    // bytes' length does.
    std::wstring text(bytes.size(), L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

std::optional<std::string> EncodeHistoryLine(std::wstring_view text) {
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
    auto entries = THistoryFile().Load(path);
    if (!entries)
        return std::nullopt;
    return std::vector<std::wstring>(entries->begin(), entries->end());
}

void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines) {
    THistoryFile().Save(path, ui::THistoryEntries(lines));
}

std::optional<ui::THistoryEntries> THistoryFile::Load(const std::wstring &path) {
    path_ = path;
    known_ = false;
    unreadable_ = true;
    known_entries_.clear();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // Known to hold nothing: a file another copy makes meanwhile is added to, not written over.
        unreadable_ = false;
        known_ = true;
        return std::nullopt;
    }
    known_entries_ = ReadEntries(path);
    unreadable_ = false;
    known_ = true;
    return known_entries_;
}

void THistoryFile::Save(const std::wstring &path, const ui::THistoryEntries &entries) {
    bool same = path == path_;
    if (same && unreadable_)
        return;
    // The entries the file already holds, from the start.
    bool known = same && known_;
    size_t common = known ? entries.CommonPrefix(known_entries_) : 0;
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
    known_entries_ = entries;
}

} // namespace filelist
