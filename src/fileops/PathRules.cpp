#include "fileops/PathRules.h"

#include <cwchar>
#include <cwctype>
#include <vector>

#include "ui/Text.h"

namespace fileops {

namespace {

// The length of the root: "X:\" or "\\server\share\" (0 when the path has neither).
size_t RootLength(const std::wstring &path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos)
            return path.size();
        size_t share = path.find(L'\\', server + 1);
        return share == std::wstring::npos ? path.size() : share + 1;
    }
    return 0;
}

std::vector<std::wstring> Steps(const std::wstring &path, size_t from) {
    std::vector<std::wstring> steps;
    size_t start = from;
    while (start < path.size()) {
        size_t slash = path.find(L'\\', start);
        if (slash == std::wstring::npos)
            slash = path.size();
        steps.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return steps;
}

bool IsReservedDevice(const std::wstring &name) {
    // The device is named by what stands before the first dot, blanks after it not counting.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    for (wchar_t &c : base)
        c = static_cast<wchar_t>(std::towlower(c));
    static const wchar_t *const kDevices[] = {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"};
    for (const wchar_t *device : kDevices)
        if (base == device)
            return true;
    return base.size() == 4 && (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

} // namespace

TNameTrouble NameTrouble(const std::wstring &name) {
    if (name.find_first_of(L"*?") != std::wstring::npos)
        return TNameTrouble::wildcard;
    for (wchar_t c : name)
        if (c < 32 || std::wcschr(L"\\/:<>|\"", c))
            return TNameTrouble::forbidden;
    if (name.find(L'\uFFFD') != std::wstring::npos)
        return TNameTrouble::unspellable;
    if (!name.empty() && (name.back() == L' ' || name.back() == L'.'))
        return TNameTrouble::trailing;
    if (IsReservedDevice(name))
        return TNameTrouble::reserved;
    return TNameTrouble::none;
}

TNameTrouble PathTrouble(const std::wstring &path) {
    TNameTrouble worst = TNameTrouble::none;
    size_t root = RootLength(path);
    if (root == 0)
        worst = TNameTrouble::forbidden;
    for (const std::wstring &step : Steps(path, root)) {
        if (step.empty() || step == L"." || step == L"..")
            continue;
        TNameTrouble trouble = NameTrouble(step);
        if (trouble != TNameTrouble::none && (worst == TNameTrouble::none || trouble < worst))
            worst = trouble;
    }
    if (worst == TNameTrouble::none && path.size() >= MAX_PATH)
        worst = TNameTrouble::tooLong;
    return worst;
}

std::wstring TroubleText(TNameTrouble trouble) {
    switch (trouble) {
    case TNameTrouble::none:
        return {};
    case TNameTrouble::wildcard:
        return L"its name holds \"*\" or \"?\", which the system reads as wildcards";
    case TNameTrouble::forbidden:
        return L"its name holds a character the system does not allow in names";
    case TNameTrouble::unspellable:
        return L"its name holds characters the system cannot spell back";
    case TNameTrouble::trailing:
        return L"its name ends in a space or a dot";
    case TNameTrouble::reserved:
        return L"its name is a device name";
    case TNameTrouble::tooLong:
        return L"its path is longer than " + std::to_wstring(MAX_PATH - 1) + L" characters";
    }
    return {};
}

std::wstring LongPath(const std::wstring &path) {
    size_t root = RootLength(path);
    std::vector<std::wstring> kept;
    for (std::wstring &step : Steps(path, root)) {
        if (step.empty() || step == L".")
            continue;
        if (step == L"..") {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        kept.push_back(std::move(step));
    }
    std::wstring out = path.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + path.substr(2, root - 2)
                                                        : L"\\\\?\\" + path.substr(0, root);
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            out += L'\\';
        out += kept[i];
    }
    return out;
}

std::wstring ExactPathOf(const std::wstring &directory, const std::wstring &name) {
    if (!ReachableByLongPath(NameTrouble(name)))
        return {};
    std::wstring path = directory + name;
    TNameTrouble trouble = PathTrouble(path);
    if (trouble == TNameTrouble::none)
        return path;
    return ReachableByLongPath(trouble) ? LongPath(path) : std::wstring();
}

std::wstring ExactShellPathOf(const std::wstring &directory, const std::wstring &name) {
    std::wstring exact = ExactPathOf(directory, name);
    if (exact.empty() || exact.compare(0, 4, L"\\\\?\\") != 0)
        return exact;
    wchar_t shortPath[MAX_PATH];
    DWORD n = GetShortPathNameW(exact.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::wstring plain = ui::ShownPath(shortPath);
    return PathTrouble(plain) == TNameTrouble::none ? plain : std::wstring();
}

TNameTrouble ItemTrouble(const std::wstring &directory, const std::wstring &name) {
    TNameTrouble trouble = NameTrouble(name);
    return trouble != TNameTrouble::none ? trouble : PathTrouble(directory + name);
}

std::wstring NotExactlyText(const std::wstring &why) { return L"cannot be opened exactly: " + why + L"."; }

TExactPath ExactPathFor(const std::wstring &directory, const std::wstring &name, TPathUse use) {
    TExactPath exact;
    exact.path = use == TPathUse::fileCalls ? ExactPathOf(directory, name) : ExactShellPathOf(directory, name);
    // Quoted, so that a closing space or dot shows.
    if (exact.path.empty())
        exact.whyNot = L"\"" + directory + name + L"\" " + NotExactlyText(TroubleText(ItemTrouble(directory, name)));
    return exact;
}

} // namespace fileops
