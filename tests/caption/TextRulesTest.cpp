#include <gtest/gtest.h>

#include <string>

#include "caption/CaptionFont.h"
#include "caption/TextRules.h"

using namespace caption;

namespace {

// K: visible with its text; E: visible and empty; H: hidden (its text is kept but not shown).
TTextPart Part(char kind, const std::wstring &text) {
    if (kind == 'K') return {text, true};
    if (kind == 'E') return {L"", true};
    return {text, false};
}

TEST(TextRulesTest, WindowTextJoinsTheVisibleTextsAndSplitsBackToTheCaption) {
    struct Case {
        const char *kinds; // company, application name, caption
        const wchar_t *windowText;
    };
    const Case cases[] = {
        {"KKK", L"Kestrune Zelvor Main"}, {"KKE", L"Kestrune Zelvor "}, {"KKH", L"Kestrune Zelvor"},
        {"KEK", L"Kestrune Main"},        {"KEE", L"Kestrune "},        {"KEH", L"Kestrune "},
        {"KHK", L"Kestrune Main"},        {"KHE", L"Kestrune "},        {"KHH", L"Kestrune"},
        {"EKK", L"Zelvor Main"},          {"EKE", L"Zelvor "},          {"EKH", L"Zelvor"},
        {"EEK", L"Main"},                 {"EEE", L""},                 {"EEH", L""},
        {"EHK", L"Main"},                 {"EHE", L""},                 {"EHH", L""},
        {"HKK", L"Zelvor Main"},          {"HKE", L"Zelvor "},          {"HKH", L"Zelvor"},
        {"HEK", L"Main"},                 {"HEE", L""},                 {"HEH", L""},
        {"HHK", L"Main"},                 {"HHE", L""},                 {"HHH", L""},
    };
    for (const Case &c : cases) {
        TTextPart company = Part(c.kinds[0], L"Kestrune"), app = Part(c.kinds[1], L"Zelvor"),
                  caption = Part(c.kinds[2], L"Main");
        EXPECT_EQ(JoinWindowText(company, app, caption), c.windowText) << c.kinds;
        EXPECT_EQ(CaptionFromWindowText(c.windowText, company, app), caption.visible ? caption.text : L"")
            << c.kinds;
    }
}

TEST(TextRulesTest, CaptionOfAWindowTextSetElsewhere) {
    struct Case {
        const wchar_t *windowText;
        const wchar_t *caption;
    };
    // Company "Kestrune" and application "Zelvor", both visible.
    const Case cases[] = {
        {L"Other title", L"Other title"},   // neither text at the front: all of it is the caption
        {L"Zelvor Main", L"Main"},          // only the application name
        {L"KestruneMain", L"Main"},         // no blank to drop
        {L"Kestrune  Main", L" Main"},      // only one blank goes
        {L"Main Kestrune", L"Main Kestrune"}, // inside the caption it stays
    };
    for (const Case &c : cases)
        EXPECT_EQ(CaptionFromWindowText(c.windowText, {L"Kestrune", true}, {L"Zelvor", true}), c.caption)
            << c.windowText;
}

TEST(TextRulesTest, TextsThatDoNotFitAreDroppedCompanyFirstAndTheRestPlaced) {
    // Widths 40, 30 and 50; with 3 pixels each they take 43 + 33 + 53 = 129.
    struct Case {
        const char *what;
        bool companyPresent;
        int areaWidth;
        TJustification justification;
        bool newStyle;
        int company, app, caption; // left edge of each drawn text, -1 when dropped
    };
    const Case cases[] = {
        {"all three, left", true, 300, jLeft, true, 103, 146, 179},
        {"all three, automatic in the new style", true, 300, jAuto, true, 103, 146, 179},
        {"all three, automatic in the old style", true, 300, jAuto, false, 188, 231, 264},
        {"all three, centred", true, 300, jCenter, true, 188, 231, 264},
        {"all three, right", true, 300, jRight, true, 274, 317, 350},
        {"exactly as wide: company dropped", true, 129, jLeft, true, -1, 103, 136},
        {"without company", true, 120, jLeft, true, -1, 103, 136},
        {"without company, right", true, 120, jRight, true, -1, 137, 170},
        {"empty company takes no room", false, 90, jLeft, true, -1, 103, 136},
        {"caption only", true, 80, jLeft, true, -1, -1, 103},
        {"caption only, centred", true, 80, jCenter, true, -1, -1, 116},
        {"caption too wide is not moved", true, 40, jRight, true, -1, -1, 103},
    };
    for (const Case &c : cases) {
        TTextLine line;
        line.width[tiCompany] = 40;
        line.width[tiAppName] = 30;
        line.width[tiCaption] = 50;
        line.present[tiCompany] = c.companyPresent;
        line.present[tiAppName] = line.present[tiCaption] = true;
        TTextRun runs[kTextCount];
        PlaceTexts(line, 100, 100 + c.areaWidth, c.justification, c.newStyle, runs);
        const int expected[kTextCount] = {c.company, c.app, c.caption};
        for (int i = 0; i < kTextCount; ++i) {
            EXPECT_EQ(runs[i].drawn, expected[i] >= 0) << c.what << ", text " << i;
            if (expected[i] < 0) continue;
            EXPECT_EQ(runs[i].left, expected[i]) << c.what << ", text " << i;
            EXPECT_EQ(runs[i].right, 100 + c.areaWidth) << c.what << ", text " << i;
        }
    }
}

TEST(TextRulesTest, TooLongTextIsCutWithAnEllipsis) {
    auto fivePerChar = [](const std::wstring &s) { return static_cast<int>(s.size()) * 5; };
    struct Case {
        const wchar_t *text;
        int maxWidth;
        const wchar_t *shown;
    };
    const Case cases[] = {
        {L"Zelvor - version", 80, L"Zelvor - version"}, {L"Zelvor - version", 79, L"Zelvor - ver..."},
        {L"Zelvor - version", 20, L"Z..."},             {L"Zelvor - version", 15, L"..."},
        {L"Zelvor - version", 3, L"..."},               {L"", 0, L""},
    };
    for (const Case &c : cases) EXPECT_EQ(FitWithEllipsis(c.text, c.maxWidth, fivePerChar), c.shown) << c.maxWidth;
}

TEST(TextRulesTest, AutomaticHeightMatchesTheCaptionFontsCharacterHeight) {
    // A font whose glyphs come out a tenth taller than asked, rounded up; 0 means the default of 16.
    auto measure = [](int height) {
        int asked = height == 0 ? 16 : (height < 0 ? -height : height * 3 / 4);
        return (asked * 11 + 9) / 10;
    };
    struct Case {
        int height, target, result;
    };
    // -20 measures 22: 9 smaller gives -11, 13 high. 0 measures 18: -13 comes out 15, so 2 smaller.
    // -10 measures 11: -12 comes out 14, one too many.
    for (Case c : {Case{-20, 13, -11}, Case{0, 13, -11}, Case{-10, 13, -11}, Case{-12, 14, -12}})
        EXPECT_EQ(AutoFontHeight(c.height, c.target, measure), c.result) << c.height << " to " << c.target;
}

TEST(TextRulesTest, FontKindsDeriveFromTheCaptionFont) {
    LOGFONTW system{};
    system.lfHeight = -11;
    system.lfWeight = FW_NORMAL;
    wcscpy(system.lfFaceName, L"Tahoma");
    LOGFONTW own{};
    own.lfHeight = -20;
    own.lfWeight = FW_NORMAL;
    wcscpy(own.lfFaceName, L"Courier New");
    struct Case {
        TFontKind kind;
        const wchar_t *face;
        int height;
        bool italic;
        int weight;
    };
    const Case cases[] = {
        {fkSystem, L"Tahoma", -11, false, FW_NORMAL},  {fkSystemI, L"Tahoma", -11, true, FW_NORMAL},
        {fkSystemB, L"Tahoma", -11, false, FW_BOLD},   {fkSystemBI, L"Tahoma", -11, true, FW_BOLD},
        {fkCustom, L"Courier New", -20, false, FW_NORMAL},
    };
    for (const Case &c : cases) {
        LOGFONTW font = DeriveFont(c.kind, own, system);
        EXPECT_STREQ(font.lfFaceName, c.face) << c.kind;
        EXPECT_EQ(font.lfHeight, c.height) << c.kind;
        EXPECT_EQ(font.lfItalic != 0, c.italic) << c.kind;
        EXPECT_EQ(font.lfWeight, c.weight) << c.kind;
    }
}

} // namespace
