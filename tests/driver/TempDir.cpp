#include "driver/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace testdriver {

namespace {

// Every byte as an octal escape for the shell's printf: no quoting can go wrong.
std::string Octal(const std::string &bytes) {
    std::string out;
    char escape[8];
    for (unsigned char c : bytes) {
        std::snprintf(escape, sizeof escape, "\\%03o", c);
        out += escape;
    }
    return out;
}

std::string UnixName(const std::wstring &path) {
    using TUnixName = char *(CDECL *)(const wchar_t *);
    auto convert = reinterpret_cast<TUnixName>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char *name = convert(path.c_str());
    if (!name) return {};
    std::string out = name;
    HeapFree(GetProcessHeap(), 0, name);
    return out;
}

} // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(base) + L"zelvor-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate + L"\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
    // Names only the Linux side can spell go the same way they came.
    if (Exists(path_)) {
        std::string unixPath = UnixName(path_);
        if (unixPath.empty()) return;
        std::wstring command = L"Z:\\bin\\rm -rf \"" + std::wstring(unixPath.begin(), unixPath.end()) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(L"Z:\\bin\\rm", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
}

std::wstring ReadOnlyFolder() {
    // The Linux path, as Wine's drive Z: shows it.
    std::string linuxPath = ZELVOR_READONLY_FOLDER;
    std::wstring folder = L"Z:";
    for (char c : linuxPath) folder += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    folder += L'\\';
    if (!Exists(folder + L"cmd.his")) return {};
    // Only a folder that refuses a new file will do.
    HANDLE probe = CreateFileW((folder + L"probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return folder;
    CloseHandle(probe);
    return {};
}

std::wstring TempDir::Folder(const std::wstring &relative, DWORD attributes) {
    std::wstring full = path_;
    size_t start = 0;
    for (;;) {
        size_t slash = relative.find(L'\\', start);
        full = path_ + relative.substr(0, slash);
        CreateDirectoryW(full.c_str(), nullptr);
        if (slash == std::wstring::npos) break;
        start = slash + 1;
    }
    if (attributes) SetFileAttributesW(full.c_str(), attributes);
    return full;
}

std::wstring TempDir::File(const std::wstring &relative, const std::string &content, DWORD attributes) {
    size_t slash = relative.rfind(L'\\');
    if (slash != std::wstring::npos) Folder(relative.substr(0, slash));
    std::wstring full = path_ + relative;
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    if (!content.empty()) WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    if (attributes) SetFileAttributesW(full.c_str(), attributes);
    return full;
}


std::string UnixPathOf(const std::wstring &path) { return UnixName(path); }

bool RunUnix(const std::string &command) {
    TempDir scripts;
    std::string scriptDir = UnixName(scripts.Path());
    if (scriptDir.empty()) return false;
    {
        std::ofstream out((scripts.Path() + L"run.sh").c_str(), std::ios::binary);
        out << "if " << command << "; then : > '" << scriptDir << "/ok'; fi; : > '" << scriptDir << "/done'\n";
    }
    std::string scriptPath = scriptDir + "/run.sh";
    std::wstring line = L"Z:\\bin\\sh \"" + std::wstring(scriptPath.begin(), scriptPath.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; waited < 10000 && !Exists(scripts.Path() + L"done"); waited += 20) Sleep(20);
    return Exists(scripts.Path() + L"ok");
}

bool MakeFromUnix(const std::wstring &folder, const std::vector<UnixEntry> &entries, bool onlyMissing) {
    std::string base = UnixName(folder);
    TempDir scripts;
    std::string scriptDir = UnixName(scripts.Path());
    if (base.empty() || scriptDir.empty()) return false;
    std::string script = "cd '" + base + "' || exit 1\n";
    for (const UnixEntry &entry : entries) {
        bool folderEntry = !entry.name.empty() && entry.name.back() == '/';
        std::string name = "\"$(printf '" + Octal(entry.name) + "')\"";
        size_t slash = entry.name.find_last_of('/', entry.name.size() - (folderEntry ? 2 : 1));
        if (slash != std::string::npos)
            script += "mkdir -p \"$(printf '" + Octal(entry.name.substr(0, slash)) + "')\"\n";
        if (folderEntry) script += "mkdir -p " + name + "\n";
        else script += (onlyMissing ? "[ -e " + name + " ] || " : std::string()) + "printf '" + Octal(entry.content) +
                       "' > " + name + "\n";
    }
    script += ": > '" + scriptDir + "/done'\n";
    {
        std::ofstream out((scripts.Path() + L"make.sh").c_str(), std::ios::binary);
        out << script;
    }
    // The Linux shell is handed its script by its Linux path.
    std::string scriptPath = scriptDir + "/make.sh";
    std::wstring command = L"Z:\\bin\\sh \"" + std::wstring(scriptPath.begin(), scriptPath.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A Linux process's end is not always told to Wine's handle: its last act is the mark.
    for (int waited = 0; waited < 10000; waited += 20) {
        if (Exists(scripts.Path() + L"done")) return true;
        Sleep(20);
    }
    return false;
}

std::vector<std::wstring> NamesIn(const std::wstring &folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFileBytes(const std::wstring &path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::wstring &path) {
    if (path.empty()) return;
    std::wstring dir = path;
    if (dir.back() != L'\\') dir += L'\\';
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dir.c_str());
}

} // namespace testdriver
