#include "sysinfo/SysSources.h"

#include <mmsystem.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "ui/LateBound.h"

namespace sysinfo {

TMachineKey::TMachineKey(const wchar_t *path) {
    // Read access only: HKEY_LOCAL_MACHINE refuses write access to ordinary users, and the facts are only read.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS)
        key_ = key;
}

TMachineKey::~TMachineKey() {
    if (key_)
        RegCloseKey(key_);
}

std::optional<std::wstring> TMachineKey::ReadText(const wchar_t *name) const {
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    // One spare character: a stored text need not end in NUL.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    const std::size_t count = std::min<std::size_t>(size / sizeof(wchar_t), buffer.size() - 1);
    return std::wstring(buffer.data(), wcsnlen(buffer.data(), count));
}

std::wstring ReadSystemIni(const wchar_t *section, const wchar_t *entry, const wchar_t *fallback) {
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(section, entry, fallback, buffer, ARRAYSIZE(buffer), L"system.ini");
    return buffer;
}

std::wstring SoundDeviceText(std::wstring_view productName, std::uint32_t driverVersion) {
    const unsigned version = driverVersion & 0xFFFF;
    return std::wstring(productName) + L" v" + std::to_wstring(version >> 8) + L"." + std::to_wstring(version & 0xFF);
}

namespace {

// Every capability structure starts with the same fields; the product name is at most 32 characters.
template <typename Caps> std::wstring DeviceText(MMRESULT result, const Caps &caps) {
    if (result != MMSYSERR_NOERROR)
        return {};
    return SoundDeviceText(std::wstring_view(caps.szPname, wcsnlen(caps.szPname, MAXPNAMELEN)), caps.vDriverVersion);
}

// The first device of a kind, asked through the sound library found at first use; empty when the library
// or the device is missing.
template <typename Caps, typename Call> std::wstring FirstDevice(const char *name) {
    static const auto call = ui::LateBound<Call>(L"winmm.dll", name);
    Caps caps{};
    return call ? DeviceText(call(0, &caps, sizeof(caps)), caps) : std::wstring();
}

} // namespace

TSoundDevices ReadSoundDevices() {
    TSoundDevices devices;
    devices.waveOut = FirstDevice<WAVEOUTCAPSW, decltype(&waveOutGetDevCapsW)>("waveOutGetDevCapsW");
    devices.waveIn = FirstDevice<WAVEINCAPSW, decltype(&waveInGetDevCapsW)>("waveInGetDevCapsW");
    devices.midiOut = FirstDevice<MIDIOUTCAPSW, decltype(&midiOutGetDevCapsW)>("midiOutGetDevCapsW");
    devices.midiIn = FirstDevice<MIDIINCAPSW, decltype(&midiInGetDevCapsW)>("midiInGetDevCapsW");
    devices.aux = FirstDevice<AUXCAPSW, decltype(&auxGetDevCapsW)>("auxGetDevCapsW");
    devices.mixer = FirstDevice<MIXERCAPSW, decltype(&mixerGetDevCapsW)>("mixerGetDevCapsW");
    return devices;
}

std::int64_t ByteProduct(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return static_cast<std::int64_t>(std::uint64_t{a} * b * c);
}

} // namespace sysinfo
