#pragma once
#include <windows.h>

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include "ui/Shortcuts.h"

namespace ui {

class TForm;

// The application object: its title and help file, the main window, the message loop with the menu
// shortcuts taken before any control sees the key, and the handler that shows an error raised inside any
// window procedure and lets the program go on.
class TApplication {
public:
    static TApplication &Instance();

    const std::wstring &Title() const { return title_; }
    void SetTitle(const std::wstring &title) { title_ = title; }
    const std::wstring &HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::wstring &file) { helpFile_ = file; }

    TForm *MainForm() const { return mainForm_; }
    void SetMainForm(TForm *form) { mainForm_ = form; }
    // The shortcuts of the main window's menu; a matching key goes to the main window as a menu command.
    void SetShortcuts(TShortcutTable table) { shortcuts_ = std::move(table); }
    const TShortcutTable &Shortcuts() const { return shortcuts_; }

    // Shows the message of an error caught in a handler, captioned with the application title.
    void HandleException(const std::exception &error);
    // Serving the queue while the program is busy on the UI thread. Every look at the queue outside the
    // main and modal loops is made here, under one rule: messages sent from other threads always run (their
    // senders wait on this thread); of the rest, only the kinds the busy step names leave the queue, each
    // routed as the main loop routes it (DispatchOne), and a quit ends the serving and is left for the main
    // loop. Input the step must not run either stays queued (Queued looks without taking) or is dropped
    // unhandled (DropKeys).
    enum TServed : unsigned {
        svSentOnly = 0, // nothing but what other threads send
        svPaint = 1,    // WM_PAINT
        svPosted = 2,   // posted messages, timers and hot keys
        svInput = 4,    // keys and the mouse
        svAll = svPaint | svPosted | svInput,
    };
    // Handles the pending messages of the kinds given; false when the program is quitting.
    bool ServePending(unsigned kinds = svAll);
    // Lets every pending message be handled (used inside long loops on the UI thread).
    void ProcessMessages() { ServePending(svAll); }
    // Waits until `event` is signalled, serving the kinds given meanwhile.
    void ServeUntil(HANDLE event, unsigned kinds);
    // True when one of `messages` waits in the queue for `window` (for any window of the thread when
    // null); nothing is taken.
    bool Queued(HWND window, std::initializer_list<UINT> messages);
    // Takes up to `most` keyboard messages for `window` (any window of the thread when null) out of the
    // queue unhandled, and returns them.
    std::vector<MSG> DropKeys(HWND window, size_t most = SIZE_MAX);
    // Shows the main window and runs the message loop until the main window is closed.
    int Run();
    // Routes one message: menu shortcuts first, then the dialog keys of a modal form, then the window.
    void DispatchOne(MSG &msg);
    void Minimize();

    void BeginModal(TForm *form) { modalStack_.push_back(form); }
    void EndModal(TForm *form);
    TForm *ActiveModal() const { return modalStack_.empty() ? nullptr : modalStack_.back(); }

private:
    bool TakeShortcut(const MSG &msg);

    std::wstring title_ = L"Zelvor";
    std::wstring helpFile_;
    TForm *mainForm_ = nullptr;
    TShortcutTable shortcuts_;
    std::vector<TForm *> modalStack_;
    // An Alt shortcut was taken: the release of that Alt must not put the menu bar into menu mode, which it
    // does when the system saw no other key between Alt's press and release.
    bool altShortcutTaken_ = false;
};

inline TApplication &Application() { return TApplication::Instance(); }

} // namespace ui
