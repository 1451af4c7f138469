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

} // namespace
