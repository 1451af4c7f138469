#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/WindowHook.h"

namespace {

// An edit control that counts the messages its object is given.
class CountingEdit : public ui::TEdit {
public:
    int setTexts = 0;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SETTEXT) ++setTexts;
        return ui::TEdit::OnMessage(msg, wParam, lParam);
    }
};

// A subclass put on top by someone else, as the common controls' chain does it.
LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen) {
    if (msg == WM_SETTEXT) ++*reinterpret_cast<int *>(seen);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}

// Each window knows its object, messages reach it and the control behind it, and the binding ends with
// either of the two, whichever goes first.
TEST(WindowBinding, ObjectAndWindowStayMatched) {
    ui::TForm form;
    form.CreateForm(L"Binding test", 300, 100, false);
    EXPECT_EQ(ui::TWindow::FromHandle(form.Handle()), &form);

    auto edit = std::make_unique<CountingEdit>();
    edit->Create(form.Handle(), 10);
    HWND editHandle = edit->Handle();
    EXPECT_EQ(ui::TWindow::FromHandle(editHandle), edit.get());
    edit->SetText(L"C:\\data;old\\");
    EXPECT_EQ(edit->setTexts, 1);
    EXPECT_EQ(TextOf(editHandle), L"C:\\data;old\\") << "the control itself still handles the message";

    // A window made by somebody else has no object.
    HWND foreign = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(ui::TWindow::FromHandle(foreign), nullptr);
    EXPECT_EQ(ui::TWindow::FromHandle(nullptr), nullptr);

    // The object goes first: its window goes with it.
    edit.reset();
    EXPECT_FALSE(IsWindow(editHandle));
    EXPECT_EQ(ui::TWindow::FromHandle(editHandle), nullptr);

    // The window goes first: the object lets go of it.
    CountingEdit second;
    second.Create(form.Handle(), 11);
    HWND secondHandle = second.Handle();
    DestroyWindow(secondHandle);
    EXPECT_EQ(second.Handle(), nullptr);
    EXPECT_EQ(ui::TWindow::FromHandle(secondHandle), nullptr);
}

// Someone else's subclass on top of the object's keeps working, also once the object is gone.
TEST(WindowBinding, LaterSubclassOnTop) {
    ui::TForm form;
    form.CreateForm(L"Binding test", 300, 100, false);
    auto edit = std::make_unique<CountingEdit>();
    edit->Create(form.Handle(), 10);
    HWND handle = edit->Handle();
    int seenOnTop = 0;
    ASSERT_TRUE(SetWindowSubclass(handle, PassOn, 1, reinterpret_cast<DWORD_PTR>(&seenOnTop)));
    SetWindowTextW(handle, L"first");
    EXPECT_EQ(seenOnTop, 1);
    EXPECT_EQ(edit->setTexts, 1);
    EXPECT_EQ(TextOf(handle), L"first");
    edit.reset(); // destroys the window with the subclass still on top
    EXPECT_FALSE(IsWindow(handle));
}

// A hook in front of a window's procedure sees its messages and passes them on; letting go restores the
// window as it was, or, with another procedure put on top meanwhile, passes everything straight through.
TEST(HookedWindow, HooksAndLetsGo) {
    enum class LetGo { unhook, unhookUnderAnotherSubclass, destroyWindow };
    struct Case {
        const char *what;
        LetGo how;
    };
    const Case cases[] = {
        {"unhooked", LetGo::unhook},
        {"unhooked under a later subclass", LetGo::unhookUnderAnotherSubclass},
        {"window destroyed", LetGo::destroyWindow},
    };
    for (const Case &c : cases) {
        ui::TForm form;
        form.CreateForm(L"Hook test", 300, 100, false);
        // An edit control of nobody's: the program's own controls carry their object's hook already.
        HWND hwnd = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD, 0, 0, 100, 20, form.Handle(), nullptr, nullptr, nullptr);
        LONG_PTR ownProcedure = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
        ui::THookedWindow hook;
        int seen = 0, destroyed = 0;
        ASSERT_TRUE(hook.Hook(hwnd, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg == WM_SETTEXT) ++seen;
            if (msg == WM_NCDESTROY) ++destroyed;
            return hook.CallPrevious(msg, wParam, lParam);
        })) << c.what;
        ui::THookedWindow second;
        EXPECT_FALSE(second.Hook(hwnd, [](UINT, WPARAM, LPARAM) { return LRESULT(0); })) << c.what << ": one hook a window";
        SetWindowTextW(hwnd, L"hooked");
        EXPECT_EQ(seen, 1) << c.what;
        EXPECT_EQ(TextOf(hwnd), L"hooked") << c.what;

        int seenOnTop = 0;
        switch (c.how) {
        case LetGo::unhook:
            hook.Unhook();
            EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), ownProcedure) << c.what;
            break;
        case LetGo::unhookUnderAnotherSubclass:
            ASSERT_TRUE(SetWindowSubclass(hwnd, PassOn, 1, reinterpret_cast<DWORD_PTR>(&seenOnTop)));
            hook.Unhook();
            break;
        case LetGo::destroyWindow:
            DestroyWindow(hwnd);
            EXPECT_EQ(destroyed, 1) << c.what;
            break;
        }
        EXPECT_EQ(hook.Window(), nullptr) << c.what;
        if (c.how != LetGo::destroyWindow) {
            SetWindowTextW(hwnd, L"after");
            EXPECT_EQ(seen, 1) << c.what << ": the hook sees nothing more";
            EXPECT_EQ(TextOf(hwnd), L"after") << c.what << ": the window still works";
            if (c.how == LetGo::unhookUnderAnotherSubclass) {
                EXPECT_EQ(seenOnTop, 1) << c.what;
                RemoveWindowSubclass(hwnd, PassOn, 1);
            }
        }
        // Once let go, the same hook takes another window; a window that is hooked already takes no other.
        HWND other = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD, 0, 0, 100, 20, form.Handle(), nullptr, nullptr, nullptr);
        EXPECT_TRUE(hook.Hook(other, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
            return hook.CallPrevious(msg, wParam, lParam);
        })) << c.what;
        hook.Unhook();
        ui::TEdit own;
        own.Create(form.Handle(), 11);
        EXPECT_FALSE(second.Hook(own.Handle(), [](UINT, WPARAM, LPARAM) { return LRESULT(0); })) << c.what;
    }
}

} // namespace
