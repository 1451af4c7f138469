#include "ui/Application.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "driver/TestDriver.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

BOOL CALLBACK CollectStatic(HWND child, LPARAM out) {
    wchar_t cls[32] = {}, text[256] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 256);
    if (_wcsicmp(cls, L"Static") == 0 && text[0]) *reinterpret_cast<std::wstring *>(out) += text;
    return TRUE;
}

// An error raised inside a handler is shown in a message box captioned with the application title;
// the window goes on working afterwards.
TEST(Application, ErrorInAHandlerIsShownAndTheProgramGoesOn) {
    ui::TForm form;
    form.CreateForm(L"Error test", 300, 200, false);
    ui::TButton button;
    button.Create(form.Handle(), 10, L"Go");
    int clicks = 0;
    button.OnClick = [&] {
        if (++clicks == 1) throw std::runtime_error("Failed to get data for 'Top'");
    };
    std::wstring shown;
    testdriver::AnswerWhenShown(L"Zelvor", [&](HWND box) {
        EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&shown));
        testdriver::PressButton(L"OK")(box);
    });
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
    EXPECT_EQ(shown, L"Failed to get data for 'Top'");
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(IsWindow(form.Handle()));
}

// The keys a handler clears never reach the control, nor does the character they would type.
TEST(Application, ClearedKeyTypesNothing) {
    ui::TForm form;
    form.CreateForm(L"Key test", 300, 200, false);
    ui::TEdit edit;
    edit.Create(form.Handle(), 11);
    edit.SetBounds(0, 0, 200, 20);
    ShowWindow(form.Handle(), SW_SHOW);
    edit.OnKeyDown = [](WORD &key, ui::TShiftState) {
        if (key == 'X') key = 0;
    };
    edit.SetFocus();
    for (WORD key : {WORD('A'), WORD('X'), WORD('B')}) {
        PostMessageW(edit.Handle(), WM_KEYDOWN, key, 1); // the loop translates it into its character
        testdriver::Pump();
    }
    EXPECT_EQ(edit.Text(), L"ab");
}

// A form that notes the messages of its first showing.
class ShowingForm : public ui::TForm {
public:
    int showMessages = 0;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SHOWWINDOW && wParam) ++showMessages;
        return ui::TForm::OnMessage(msg, wParam, lParam);
    }
};

// Shown for the first time, a form is told so, comes to the front with its first control focused, and once
// the loop has run every window of it has painted: nothing is left waiting for a paint.
TEST(Application, FirstShowingPaintsEveryWindowAndFocusesTheFirstControl) {
    ShowingForm form;
    form.CreateForm(L"Show test", 300, 200, false);
    ui::TEdit first, second;
    first.Create(form.Handle(), 1);
    second.Create(form.Handle(), 2);
    first.SetBounds(10, 10, 100, 22);
    second.SetBounds(10, 40, 100, 22);
    ui::TListView list;
    list.Create(form.Handle(), 3, LVS_REPORT);
    list.SetBounds(10, 70, 200, 100);
    list.AddColumn(L"Name", 100);
    list.AddItem(L"C:\\Мои файлы\\a;b.txt");
    form.Show();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(form.showMessages, 1);
    EXPECT_EQ(GetForegroundWindow(), form.Handle());
    EXPECT_EQ(GetFocus(), first.Handle());
    testdriver::Pump(50);
    for (HWND w : {form.Handle(), first.Handle(), second.Handle(), list.Handle()})
        EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE)) << "a window still waits for its paint";
    // A second showing of the visible form keeps it as it is.
    form.Show();
    EXPECT_EQ(form.showMessages, 1);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

} // namespace
