#pragma once
#include <windows.h>

#include <string>

namespace fileops {
class TOperationForm;
}
namespace ui {
class THistoryBox;
}

namespace app {

class TSide;

// What the command objects need of the main window, and no more: they are written against this rather
// than against the form, so the form holds them without the two knowing each other.
class ICommandHost {
public:
    virtual ~ICommandHost() = default;
    // The window that owns the commands' dialogs and message boxes.
    virtual HWND OwnerWindow() const = 0;
    // The side whose title line is navy, and the two sides by place.
    virtual TSide &ActiveSide() = 0;
    virtual TSide &LeftSide() = 0;
    virtual TSide &RightSide() = 0;
    // Both sides listed again from scratch, the left one first; their marks go.
    virtual void RelistBoth() = 0;
    // The file in the viewer window.
    virtual void ViewFile(const std::wstring &path) = 0;
    // The command line's field with its history, and the prompt before it (the active side's directory).
    virtual ui::THistoryBox &CommandBox() = 0;
    virtual std::wstring PromptText() const = 0;
    // The operation dialog, which also asks for a name or a mask.
    virtual fileops::TOperationForm &OperationForm() = 0;
    // The font the window's controls are made with; the panels' own font keeps its size and style.
    virtual HFONT WindowFont() const = 0;
};

} // namespace app
