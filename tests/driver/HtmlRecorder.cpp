#include "driver/HtmlRecorder.h"

#define NO_SHLWAPI_STRFCNS
#include <shlwapi.h>

#include <algorithm>
#include <sstream>

#include "driver/TempDir.h"
#include "ui/Application.h"
#include "ui/Text.h"

namespace testdriver {

namespace {

// The machine's classes: Wine does not lay the user's classes over them, so the user's would not count.
const wchar_t kClasses[] = L"Software\\Classes\\";
const wchar_t kRecorderClass[] = L"Zelvor.TestRecorder";

bool ReadDefault(const std::wstring &key, std::wstring &value) {
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t), type = 0;
    if (SHGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, &type, text, &size) != ERROR_SUCCESS) return false;
    value = text;
    return true;
}

void WriteDefault(const std::wstring &key, const std::wstring &value) {
    SHSetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

THtmlRecorder::THtmlRecorder() {
    wchar_t temp[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    GetTempFileNameW(temp, L"rec", 0, file);
    record_ = file;
    wchar_t previous[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ZELVOR_OPEN_RECORD", previous, MAX_PATH);
    previousRecordVariable_ = previous;
    SetEnvironmentVariableW(L"ZELVOR_OPEN_RECORD", record_.c_str());

    std::wstring recorder = L"Z:" + ui::Widen(ZELVOR_OPEN_RECORDER);
    std::replace(recorder.begin(), recorder.end(), L'/', L'\\');
    WriteDefault(std::wstring(kClasses) + kRecorderClass + L"\\shell\\open\\command",
                 L"\"" + recorder + L"\" \"%1\"");
    for (const wchar_t *extension : {L".html", L".htm"}) {
        Saved s{extension, false, {}};
        s.existed = ReadDefault(kClasses + s.extension, s.value) && s.value != kRecorderClass;
        saved_.push_back(s);
        WriteDefault(kClasses + s.extension, kRecorderClass);
    }
}

THtmlRecorder::~THtmlRecorder() {
    for (const Saved &s : saved_) {
        if (s.existed) WriteDefault(kClasses + s.extension, s.value);
        else SHDeleteKeyW(HKEY_LOCAL_MACHINE, (kClasses + s.extension).c_str());
    }
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + kRecorderClass).c_str());
    SetEnvironmentVariableW(L"ZELVOR_OPEN_RECORD",
                            previousRecordVariable_.empty() ? nullptr : previousRecordVariable_.c_str());
    DeleteFileW(record_.c_str());
}

std::vector<std::wstring> THtmlRecorder::Opened() const {
    std::vector<std::wstring> lines;
    std::istringstream in(ReadFileBytes(record_));
    for (std::string line; std::getline(in, line);) lines.push_back(ui::Widen(line));
    return lines;
}

std::vector<std::wstring> THtmlRecorder::WaitForOpened(size_t count, int timeoutSeconds) const {
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutSeconds) * 1000;
    std::vector<std::wstring> opened = Opened();
    while (opened.size() < count && GetTickCount() < end) {
        ui::Application().ProcessMessages();
        Sleep(50);
        opened = Opened();
    }
    return opened;
}

std::wstring LongPathOf(const std::wstring &path) {
    wchar_t full[MAX_PATH * 2] = {};
    DWORD length = GetLongPathNameW(path.c_str(), full, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : path;
}

} // namespace testdriver
