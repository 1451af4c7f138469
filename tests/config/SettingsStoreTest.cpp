#include "SettingsTestSupport.h"

#include "config/SettingsKey.h"
#include "config/SettingsStore.h"

using namespace settingstest;

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }
};

std::string ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const std::exception &e) {
        return e.what();
    }
    return "<no error>";
}

TEST_F(SettingsStoreTest, FirstStartWritesTheSixteenDefaultsInOrder) {
    config::TSettingsDefaults defaults{12, -4, 813, 405, L"MS Sans Serif", config::clWindowText, config::clWindow};
    const std::vector<std::wstring> order = {
        L"LeftDirectory",   L"RightDirectory",   L"Top",       L"Left",       L"Width",       L"Height",
        L"QSAltLetters",    L"QSCtrlAltLetters", L"SaveDir",   L"SavePanels", L"SaveCommand", L"LeftPanelStyle",
        L"RightPanelStyle", L"FileListFont",     L"FontColor", L"BackColor"};
    std::vector<std::wstring> names;
    for (const auto &v : config::DefaultValues(defaults))
        names.push_back(v.name);
    EXPECT_EQ(names, order);

    config::CreateReg(defaults);
    EXPECT_EQ(Snapshot().size(), 16u);
    const std::pair<const wchar_t *, std::wstring> texts[] = {{L"LeftDirectory", L"C:\\"},
                                                              {L"RightDirectory", L"C:\\"},
                                                              {L"Top", L"12"},
                                                              {L"Left", L"-4"},
                                                              {L"Width", L"813"},
                                                              {L"Height", L"405"},
                                                              {L"QSAltLetters", L"True"},
                                                              {L"QSCtrlAltLetters", L"False"},
                                                              {L"SaveDir", L"True"},
                                                              {L"SavePanels", L"False"},
                                                              {L"SaveCommand", L"False"},
                                                              {L"LeftPanelStyle", L"vsReport"},
                                                              {L"RightPanelStyle", L"vsReport"},
                                                              {L"FileListFont", L"MS Sans Serif"}};
    for (const auto &[name, text] : texts) {
        EXPECT_EQ(ReadRaw(name)->type, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_EQ(Text(name), text) << name; // stored without a terminating NUL
    }
    EXPECT_EQ(Dword(L"FontColor"), 0x80000008u);
    EXPECT_EQ(Dword(L"BackColor"), 0x80000005u);

    // An existing key is neither changed nor repaired.
    DeleteValue(L"Top");
    SetText(L"SaveDir", L"False");
    config::CreateReg(defaults);
    EXPECT_EQ(Text(L"Top"), L"<missing>");
    EXPECT_EQ(Text(L"SaveDir"), L"False");
}

TEST_F(SettingsStoreTest, OnlyTheExactTextTrueIsYes) {
    struct Case {
        const wchar_t *stored; // null: no value
        bool withNul;
        bool yes;
    };
    const Case cases[] = {{L"True", false, true},  {L"True", true, true},    {L"true", false, false},
                          {L"TRUE", false, false}, {L"False", false, false}, {L"True ", false, false},
                          {L"", false, false},     {nullptr, false, false}};
    for (const Case &c : cases) {
        SetText(L"SavePanels", L"False");
        DeleteValue(L"SaveDir");
        if (c.stored)
            SetText(L"SaveDir", c.stored, c.withNul);
        EXPECT_EQ(config::ReadSaveCheck(L"dir"), c.yes) << (c.stored ? c.stored : L"<none>");
    }
}

TEST_F(SettingsStoreTest, ReadSaveCheckKnowsThreeKindsInAnyCase) {
    SetText(L"SaveDir", L"True");
    SetText(L"SavePanels", L"False");
    SetText(L"SaveCommand", L"True");
    const std::pair<const wchar_t *, bool> cases[] = {{L"dir", true}, {L"DIR", true},   {L"Pan", false},
                                                      {L"cmd", true}, {L"dirs", false}, {L"SaveDir", false},
                                                      {L"", false},   {L"CM", false}};
    for (const auto &[kind, yes] : cases)
        EXPECT_EQ(config::ReadSaveCheck(kind), yes) << kind;
    RemoveSettingsKey();
    EXPECT_FALSE(config::ReadSaveCheck(L"DIR")); // a missing key reads as no, without an error
}

TEST_F(SettingsStoreTest, FailuresCarryTheirMessages) {
    struct Case {
        const char *what;
        std::function<void()> prepare;
        std::function<void()> action;
        std::string message;
    };
    auto readColor = [] { config::TSettingsKey().ReadColor(L"FontColor"); };
    const Case cases[] = {
        {"colour from a missing key", [] {}, readColor, "Failed to get data for 'FontColor'"},
        {"write to a missing key", [] {}, [] { config::SaveCheck(true, true, true); },
         "Failed to set data for 'SaveDir'"},
        {"missing colour", [] { SetText(L"SaveDir", L"True"); }, readColor, "Failed to get data for 'FontColor'"},
        {"colour stored as text", [] { SetText(L"FontColor", L"0"); }, readColor, "Invalid data type for 'FontColor'"},
        {"text stored as a number", [] { SetDword(L"LeftDirectory", 1); },
         [] { config::TSettingsKey().ReadString(L"LeftDirectory"); }, "Invalid data type for 'LeftDirectory'"},
        {"empty position", [] { SetText(L"Top", L""); }, [] { config::TSettingsKey().ReadInteger(L"Top"); },
         "'' is not a valid integer value"},
        {"position with letters", [] { SetText(L"Top", L"12a"); }, [] { config::TSettingsKey().ReadInteger(L"Top"); },
         "'12a' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        c.prepare();
        EXPECT_EQ(ErrorOf(c.action), c.message) << c.what;
    }
    RemoveSettingsKey();
    EXPECT_EQ(config::TSettingsKey().ReadString(L"LeftDirectory"), L""); // text from a missing key: empty
}

TEST_F(SettingsStoreTest, IntegersAreDecimalTexts) {
    const std::pair<const wchar_t *, std::optional<int>> cases[] = {{L"0", 0},
                                                                    {L"-5", -5},
                                                                    {L"+7", 7},
                                                                    {L" 12", 12},
                                                                    {L"2147483647", INT_MAX},
                                                                    {L"-2147483648", INT_MIN},
                                                                    {L"", std::nullopt},
                                                                    {L"1 ", std::nullopt},
                                                                    {L"2147483648", std::nullopt},
                                                                    {L"1.5", std::nullopt},
                                                                    {L"-", std::nullopt},
                                                                    {L"abc", std::nullopt}};
    for (const auto &[text, value] : cases) {
        std::optional<int> got;
        try {
            got = config::StrToInt(text);
        } catch (const std::exception &) {
        }
        EXPECT_EQ(got, value) << text;
    }
}

TEST_F(SettingsStoreTest, PositionRoundTripsAndStopsAtTheFirstBadValue) {
    WriteDefaultKey();
    config::SaveRegPos({-8, 30, 640, 480});
    EXPECT_EQ(Text(L"Top"), L"-8");
    std::vector<std::pair<config::TPosValue, int>> applied;
    auto record = [&](config::TPosValue which, int value) { applied.push_back({which, value}); };
    config::LoadRegPos(record);
    using P = config::TPosValue;
    EXPECT_EQ(applied,
              (std::vector<std::pair<P, int>>{{P::Top, -8}, {P::Left, 30}, {P::Width, 640}, {P::Height, 480}}));

    applied.clear();
    SetText(L"Left", L"x");
    EXPECT_EQ(ErrorOf([&] { config::LoadRegPos(record); }), "'x' is not a valid integer value");
    EXPECT_EQ(applied, (std::vector<std::pair<P, int>>{{P::Top, -8}}));
}

TEST_F(SettingsStoreTest, PanelStylesAndDirectoriesFollowTheChoices) {
    for (const auto &[text, brief] : std::vector<std::pair<std::wstring, bool>>{
             {L"vsList", true}, {L"VSLIST", false}, {L"vsReport", false}, {L"", false}, {L"list", false}})
        EXPECT_EQ(config::IsBriefStyle(text), brief) << text;

    WriteDefaultKey();
    SetText(L"SaveDir", L"False");
    SetText(L"SavePanels", L"True");
    config::SavePanelsState({L"D:\\a\\", L"E:\\", true, false});
    EXPECT_EQ(Text(L"LeftDirectory"), L"C:\\");
    EXPECT_EQ(Text(L"LeftPanelStyle"), L"vsList");
    EXPECT_EQ(Text(L"RightPanelStyle"), L"vsReport");
    config::SaveCheck(true, false, false);
    config::SavePanelsState({L"D:\\a\\", L"E:\\", false, true});
    EXPECT_EQ(Text(L"LeftDirectory"), L"D:\\a\\");
    EXPECT_EQ(Text(L"RightDirectory"), L"E:\\");
    EXPECT_EQ(Text(L"LeftPanelStyle"), L"vsList");
}

} // namespace
