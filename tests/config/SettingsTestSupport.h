#pragma once
#include <windows.h>
#define NO_SHLWAPI_STRFCNS // its StrToInt would rename the program's own
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "config/SettingsStore.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "ui/Application.h"

namespace settingstest {

inline constexpr wchar_t kKey[] = L"SOFTWARE\\Kestrune\\Zelvor";

// Removes the settings key, and its vendor key when nothing else is left in it.
inline void RemoveSettingsKey() {
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kestrune");
}

inline bool KeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Writes a raw value, creating the key when needed.
inline void SetRaw(const wchar_t *name, DWORD type, const void *data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), bytes);
    RegCloseKey(key);
}

// The system counts a NUL right after the data into a string value; a blank there keeps it out.
inline void SetText(const wchar_t *name, const std::wstring &text, bool withNul = false) {
    std::wstring data = text + (withNul ? L'\0' : L' ');
    SetRaw(name, REG_SZ, data.c_str(), static_cast<DWORD>((text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t)));
}

inline void SetDword(const wchar_t *name, DWORD value) {
    SetRaw(name, REG_DWORD, &value, sizeof value);
}

inline void DeleteValue(const wchar_t *name) {
    SHDeleteValueW(HKEY_LOCAL_MACHINE, kKey, name);
}

struct RawValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RawValue &) const = default;
};

// The stored bytes as they are (RegGetValue would add a missing NUL).
inline std::optional<RawValue> ReadRaw(const wchar_t *name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue v;
    DWORD bytes = 0;
    LSTATUS status = RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &bytes);
    if (status == ERROR_SUCCESS) {
        v.data.resize(bytes);
        status = RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &bytes);
        v.data.resize(bytes);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return v;
}

// A text value as stored (no terminating NUL is added by the program); "<missing>" when absent.
inline std::wstring Text(const wchar_t *name) {
    auto v = ReadRaw(name);
    if (!v)
        return L"<missing>";
    return std::wstring(reinterpret_cast<const wchar_t *>(v->data.data()), v->data.size() / sizeof(wchar_t));
}

inline std::optional<DWORD> Dword(const wchar_t *name) {
    auto v = ReadRaw(name);
    if (!v || v->type != REG_DWORD || v->data.size() != 4)
        return std::nullopt;
    return *reinterpret_cast<const DWORD *>(v->data.data());
}

// Every value of the key, by name.
inline std::map<std::wstring, RawValue> Snapshot() {
    std::map<std::wstring, RawValue> all;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return all;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        all[name] = *ReadRaw(name);
    }
    RegCloseKey(key);
    return all;
}

// A complete key as the first start writes it, for a window at 100, 100 of 813 x 405.
inline void WriteDefaultKey() {
    config::CreateReg({100, 100, 813, 405, L"MS Sans Serif", config::clWindowText, config::clWindow});
}

inline BOOL CALLBACK FindStaticText(HWND child, LPARAM data) {
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 512);
    if (_wcsicmp(cls, L"Static") == 0 && text[0]) {
        *reinterpret_cast<std::wstring *>(data) = text;
        return FALSE;
    }
    return TRUE;
}

// The text of a message box (its non-empty static control).
inline std::wstring MessageText(HWND box) {
    std::wstring found;
    EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the next "Zelvor" message box with OK and keeps its text.
inline void AnswerMessage(std::wstring &text) {
    testdriver::AnswerWhenShown(L"Zelvor", [&text](HWND box) {
        text = MessageText(box);
        testdriver::PressButton(L"OK")(box);
    });
}

struct ShellCall {
    std::wstring file, parameters;
    bool operator==(const ShellCall &) const = default;
};

} // namespace settingstest

// The real main window on a settings key that each test prepares; the key is removed before and after.
// The history file lives in the test's own folder and shell requests are recorded, not run.
class SettingsWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool initialised = false;
        if (!initialised)
            app::InitApplication();
        initialised = true;
    }

    void SetUp() override { settingstest::RemoveSettingsKey(); }

    void TearDown() override {
        testdriver::ClearAnswers();
        Destroy();
        settingstest::RemoveSettingsKey();
    }

    // A closed main window asks the loop to end; the next window starts a loop of its own.
    void Destroy() {
        form.reset();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void Create() {
        form = std::make_unique<app::TMainForm>();
        form->Create();
        form->SettingsCommands.HistoryFile = HistoryFile();
        form->CommandLine.ShellOpen = [this](HWND, const std::wstring &file, const std::wstring &parameters) {
            shellCalls.push_back({file, parameters});
        };
    }
    void Show() {
        form->Show();
        testdriver::Pump(50);
    }
    void Start() {
        Create();
        Show();
    }
    std::wstring HistoryFile() const { return temp / L"cmd.his"; }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        return r;
    }

    testdriver::TempDir temp;
    std::unique_ptr<app::TMainForm> form;
    std::vector<settingstest::ShellCall> shellCalls;
};
