// Arbitrary names through the path building and the rule for what the shell may be given, held against a
// reference written from the rule itself.
#include "FuzzBudget.h"

#include "fileops/FileOp.h"
#include "fileops/PathRules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using fileops::TNameTrouble;
using fuzz::TFuzzBudget;

// The rule, as a person states it: wildcards name other files; a character no Windows name may hold
// splits or breaks the name; U+FFFD stands for bytes the listing could not spell; a trailing space or dot
// is dropped by the shell; a device's name (before any dot, blanks ignored) opens the device.
TNameTrouble ReferenceTrouble(const std::wstring &name) {
    const std::set<wchar_t> wildcards{L'*', L'?'};
    const std::set<wchar_t> refused{L'\\', L'/', L':', L'<', L'>', L'|', L'"'};
    for (wchar_t c : name)
        if (wildcards.count(c))
            return TNameTrouble::wildcard;
    for (wchar_t c : name)
        if (c < 0x20 || refused.count(c))
            return TNameTrouble::forbidden;
    for (wchar_t c : name)
        if (c == 0xFFFD)
            return TNameTrouble::unspellable;
    wchar_t last = name.empty() ? 0 : name[name.size() - 1];
    if (last == L' ' || last == L'.')
        return TNameTrouble::trailing;
    std::wstring device;
    for (wchar_t c : name) {
        if (c == L'.')
            break;
        device += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    }
    while (!device.empty() && device[device.size() - 1] == L' ')
        device.erase(device.size() - 1);
    std::set<std::wstring> devices{L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"};
    for (wchar_t n = L'1'; n <= L'9'; ++n) {
        devices.insert(std::wstring(L"com") + n);
        devices.insert(std::wstring(L"lpt") + n);
    }
    return devices.count(device) ? TNameTrouble::reserved : TNameTrouble::none;
}

std::string Show(const std::wstring &text) {
    std::string out;
    for (wchar_t c : text)
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '#';
    return out;
}

TEST(PathRuleFuzz, EveryNameIsJudgedByTheRuleAndAReachableOneIsSpelledBackExactly) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    // Every character the Linux side allows in a name (all but "/" and NUL) as Wine lists it, weighted
    // towards the ones the rule is about.
    std::wstring alphabet = L"aZ. .. *?\\:<>|\"\x1\x1F\xE9\x416\xFFFD\xF02A"
                            L"conauxnulprncom1lpt9$";
    for (wchar_t c = 0x20; c < 0x7F; ++c)
        if (c != L'/')
            alphabet += c;
    const std::wstring folder = L"C:\\side\\";
    while (budget.More()) {
        std::wstring name = budget.Pick(alphabet, budget.OneIn(8) ? 300 : 12);
        if (name.empty() || name == L"." || name == L"..")
            continue;
        TNameTrouble expected = ReferenceTrouble(name);
        ASSERT_EQ(fileops::NameTrouble(name), expected) << Show(name);
        // A "\\" inside a name would make a path of other names: such a name never becomes a path.
        if (name.find(L'\\') != std::wstring::npos)
            continue;
        std::wstring path = folder + name;
        TNameTrouble whole = fileops::PathTrouble(path);
        if (expected == TNameTrouble::none && path.size() >= MAX_PATH) {
            ASSERT_EQ(whole, TNameTrouble::tooLong) << Show(name);
        } else {
            ASSERT_EQ(whole, expected) << Show(name);
        }
        // The shell is given only what it reads as this very item.
        ASSERT_EQ(whole == TNameTrouble::none, expected == TNameTrouble::none && path.size() < MAX_PATH) << Show(name);
        if (fileops::ReachableByLongPath(expected)) {
            ASSERT_EQ(fileops::LongPath(path), L"\\\\?\\" + path) << Show(name);
        }
        // A list of such paths reaches the shell as exactly these paths, whatever they hold but NUL.
        std::wstring second = folder + budget.Pick(alphabet, 10) + L"x";
        std::wstring list = fileops::ShellNameList(path + L'\0' + second);
        ASSERT_EQ(list, path + L'\0' + second + L'\0' + L'\0');
    }
}

} // namespace
