#pragma once
#include <windows.h>
#define NO_SHLWAPI_STRFCNS // its StrToInt would rename the program's own
#include <shlwapi.h>

#include <string>

// Makes a key of the machine's hive for a test and removes again what it had to create.
class TTempMachineKey {
public:
    explicit TTempMachineKey(const std::wstring &path) : path_(path) {
        // The topmost part of the path that is missing is what goes again at the end.
        for (std::size_t end = 0; end != std::wstring::npos && created_.empty();) {
            end = path.find(L'\\', end + 1);
            const std::wstring part = path.substr(0, end);
            HKEY probe = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, part.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS)
                RegCloseKey(probe);
            else
                created_ = part;
        }
        if (created_.empty() || RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                nullptr, &key_, nullptr) != ERROR_SUCCESS)
            created_.clear();
    }
    ~TTempMachineKey() { Remove(); }
    TTempMachineKey(const TTempMachineKey &) = delete;
    TTempMachineKey &operator=(const TTempMachineKey &) = delete;

    // True when the key was missing and has been made.
    bool Made() const { return key_ != nullptr; }
    void Set(const wchar_t *name, DWORD type, const void *data, DWORD bytes) {
        RegSetValueExW(key_, name, 0, type, static_cast<const BYTE *>(data), bytes);
    }
    void SetText(const wchar_t *name, const std::wstring &text) {
        Set(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void Remove() {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
        if (!created_.empty())
            SHDeleteKeyW(HKEY_LOCAL_MACHINE, created_.c_str());
        created_.clear();
    }

private:
    std::wstring path_;
    std::wstring created_;
    HKEY key_ = nullptr;
};
