// File commands the system refuses say so, in the system's own words.
#include "FileCommandsFixture.h"

using testdriver::AnswerWhenShown;
using testdriver::EnterTextAndPress;
using testdriver::Exists;
using testdriver::PressButton;
using testdriver::SystemReason;

namespace {

using Texts = std::vector<std::wstring>;

bool Contains(const std::wstring &text, const std::wstring &part) {
    return text.find(part) != std::wstring::npos;
}

TEST_F(FileCommandsTest, MakeDirectoryRefusedBySystemTellsTheReasonAndListsWhatWasMade) {
    const struct {
        std::wstring typed;
        std::wstring made;   // a level that exists afterwards, or empty
        DWORD reason;        // 0: no message
    } cases[] = {
        {L"bad<name", L"", ERROR_INVALID_NAME},
        {L"outer\\bad|inner", L"outer", ERROR_INVALID_NAME},
        {L"fine\\inner", L"fine\\inner", 0},
    };
    ListSides();
    for (const auto &c : cases) {
        testdriver::ClearAnswers();
        Texts messages;
        AnswerWhenShown(L"Create new dir", EnterTextAndPress(c.typed, kOk));
        AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(messages));
        EXPECT_TRUE(Run(app::TFileCommand::MakeDir)) << c.typed;
        testdriver::Pump(100);
        if (c.reason) {
            ASSERT_EQ(messages.size(), 1u) << c.typed;
            EXPECT_TRUE(Contains(messages[0], SystemReason(c.reason))) << messages[0];
            EXPECT_TRUE(Contains(messages[0], source / c.typed)) << messages[0];
        } else {
            EXPECT_EQ(messages, Texts{}) << c.typed;
        }
        if (!c.made.empty()) {
            EXPECT_TRUE(Exists(source / c.made)) << c.typed;
            // The side is listed again, so a level made before the refusal shows.
            const std::wstring first = c.made.substr(0, c.made.find(L'\\'));
            EXPECT_GE(Row(first), 0) << c.typed;
        }
    }
    testdriver::ClearAnswers();
}

TEST_F(FileCommandsTest, AnAttributeChangeThatFailsIsToldWithTheReason) {
    const struct {
        const char *situation;
        bool readSaysThere; // the file is gone, but the second read still finds it: the write itself fails
    } cases[] = {{"gone before OK", false}, {"gone between the read and the write", true}};
    for (const auto &c : cases) {
        std::wstring file = source.File(L"a.txt", "a");
        ListSides();
        PutCursor(L"a.txt");
        auto realRead = AtrForm().ReadAttributes;
        if (c.readSaysThere)
            AtrForm().ReadAttributes = [](const std::wstring &) { return DWORD{FILE_ATTRIBUTE_ARCHIVE}; };
        testdriver::ClearAnswers();
        Texts messages;
        AnswerWhenShown(L"Change attributes", [&](HWND dialog) {
            DeleteFileW(file.c_str());
            AtrForm().CheckReadOnly.SetChecked(true);
            PressButton(L"OK")(dialog);
        });
        AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(messages));
        form->FileCommands.Change1Click();
        testdriver::Pump(100);
        AtrForm().ReadAttributes = realRead;
        ASSERT_EQ(messages.size(), 1u) << c.situation;
        EXPECT_TRUE(Contains(messages[0], file)) << messages[0];
        EXPECT_TRUE(Contains(messages[0], SystemReason(ERROR_FILE_NOT_FOUND))) << messages[0];
        EXPECT_FALSE(IsWindowVisible(AtrForm().Handle())) << c.situation;
    }
    testdriver::ClearAnswers();
}

} // namespace
