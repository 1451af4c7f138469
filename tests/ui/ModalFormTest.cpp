#include <gtest/gtest.h>

#include "driver/TestDriver.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace {

// Which windows take input and which one is active, seen at one moment.
struct Seen {
    bool mainEnabled;
    bool outerEnabled;
    HWND active;
};

// A modal window opened from a modal window gives that window back: the main window stays disabled
// under it until it ends too, and only then comes back, enabled and active.
TEST(ModalForm, AModalFormGivesBackTheWindowItWasOpenedFrom) {
    ui::TForm main;
    main.CreateForm(L"Modal main", 300, 200, false);
    ui::Application().SetMainForm(&main);
    ui::TForm outer, inner;
    outer.CreateForm(L"Modal outer", 200, 150, false);
    inner.CreateForm(L"Modal inner", 150, 100, false);
    main.Show();
    testdriver::Pump(50);

    Seen whileInner{}, afterInner{}, afterOuter{};
    testdriver::AnswerWhenShown(L"Modal outer", [&](HWND) {
        testdriver::AnswerWhenShown(L"Modal inner", [&](HWND) {
            whileInner = {IsWindowEnabled(main.Handle()) != FALSE, IsWindowEnabled(outer.Handle()) != FALSE,
                          GetActiveWindow()};
            inner.SetModalResult(ui::mrOk);
        });
        inner.ShowModal();
        afterInner = {IsWindowEnabled(main.Handle()) != FALSE, IsWindowEnabled(outer.Handle()) != FALSE,
                      GetActiveWindow()};
        outer.SetModalResult(ui::mrOk);
    });
    outer.ShowModal();
    afterOuter = {IsWindowEnabled(main.Handle()) != FALSE, IsWindowEnabled(outer.Handle()) != FALSE,
                  GetActiveWindow()};

    const struct {
        const char *moment;
        Seen seen;
        Seen expected;
    } cases[] = {
        {"the inner form is up", whileInner, {false, false, inner.Handle()}},
        {"the inner form has ended", afterInner, {false, true, outer.Handle()}},
        {"the outer form has ended", afterOuter, {true, true, main.Handle()}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.seen.mainEnabled, c.expected.mainEnabled) << c.moment;
        EXPECT_EQ(c.seen.outerEnabled, c.expected.outerEnabled) << c.moment;
        EXPECT_EQ(c.seen.active, c.expected.active) << c.moment;
    }
    ui::Application().SetMainForm(nullptr);
    testdriver::ClearAnswers();
}

} // namespace
