#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sysinfo {

// A registry key of the machine's own hive, opened for reading only and closed with the object.
// Opening never creates the key.
class TMachineKey {
public:
    explicit TMachineKey(const wchar_t *path);
    ~TMachineKey();
    TMachineKey(const TMachineKey &) = delete;
    TMachineKey &operator=(const TMachineKey &) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    // The value as text, or nothing when the key lacks it or it holds no text.
    std::optional<std::wstring> ReadText(const wchar_t *name) const;

private:
    HKEY key_ = nullptr;
};

// An entry of the system's initialisation file "system.ini", or `fallback` when it is missing.
std::wstring ReadSystemIni(const wchar_t *section, const wchar_t *entry, const wchar_t *fallback);

// "<product name> v<major>.<minor>", the major number being the high byte of the version's low word.
std::wstring SoundDeviceText(std::wstring_view productName, std::uint32_t driverVersion);

// The six sound device classes, each asked for its device 0; a silent device gives the empty text.
struct TSoundDevices {
    std::wstring waveOut, waveIn, midiOut, midiIn, aux, mixer;
};
TSoundDevices ReadSoundDevices();

// a * b * c in 64-bit arithmetic: clusters times sectors times bytes never overflows it.
std::int64_t ByteProduct(std::uint32_t a, std::uint32_t b, std::uint32_t c);

} // namespace sysinfo
