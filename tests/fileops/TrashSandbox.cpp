#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "Trash.h"

namespace fileopstest {

namespace {

std::string UnixPathOf(const std::wstring &windowsPath) {
    using Convert = char *(CDECL *)(LPCWSTR);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char *path = convert(windowsPath.c_str());
    if (!path)
        return {};
    std::string unixPath = path;
    HeapFree(GetProcessHeap(), 0, path);
    return unixPath;
}

std::wstring Widen(const std::string &bytes) {
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(size > 0 ? size : 1));
    MultiByteToWideChar(CP_UTF8, 0, bytes.c_str(), -1, wide.data(), size);
    return wide.data();
}

void SetDataHome(const std::wstring &value, bool present) {
    SetEnvironmentVariableW(L"XDG_DATA_HOME", present ? value.c_str() : nullptr);
    _wputenv((L"XDG_DATA_HOME=" + (present ? value : std::wstring())).c_str());
}

std::unique_ptr<testdriver::TempDir> g_home;

// Wine's shell looks for its trash once per process, so this happens before any test runs.
class TrashSandbox : public testing::Environment {
public:
    void SetUp() override {
        g_home = std::make_unique<testdriver::TempDir>();
        scope_ = std::make_unique<DataHomeScope>(g_home->Path(), "data");
    }
    void TearDown() override {
        scope_.reset();
        g_home.reset();
    }

private:
    std::unique_ptr<DataHomeScope> scope_;
};

[[maybe_unused]] testing::Environment *const g_sandbox = testing::AddGlobalTestEnvironment(new TrashSandbox);

} // namespace

std::wstring TrashFolder() { return g_home ? *g_home / L"data\\Trash\\" : std::wstring(); }

DataHomeScope::DataHomeScope(const std::wstring &folder, const std::string &name) {
    wchar_t old[MAX_PATH * 2] = {};
    hadOld_ = GetEnvironmentVariableW(L"XDG_DATA_HOME", old, MAX_PATH * 2) > 0;
    old_ = old;
    std::string unixFolder = UnixPathOf(folder);
    // Without it the tests would reach the user's own trash.
    if (unixFolder.empty())
        std::abort();
    if (unixFolder.back() != '/')
        unixFolder += '/';
    SetDataHome(Widen(unixFolder + name), true);
}

DataHomeScope::~DataHomeScope() { SetDataHome(old_, hadOld_); }

} // namespace fileopstest
