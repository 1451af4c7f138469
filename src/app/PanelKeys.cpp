// The keys of a file view: one table for both sides, each side being the source and the other the target.
#include "app/MainForm.h"
#include "app/Marking.h"
#include "ui/Application.h"

namespace app {

namespace {
bool Is(WORD key, ui::TShiftState shift, WORD wantKey, ui::TShiftState wantShift) {
    return key == wantKey && (shift & ui::kModifierMask) == wantShift;
}
} // namespace

void TMainForm::FileViewKeyDown(TSide &side, WORD &key, ui::TShiftState shift) {
    using namespace ui;
    const bool isLeft = &side == &Left;
    filelist::TFileList &view = side.FileView;
    const ui::TShiftState mods = shift & kModifierMask;

    if (mods == ssShift && (key == VK_DOWN || key == VK_UP))
        ToggleMark(view, ListView_GetNextItem(view.Handle(), -1, LVNI_FOCUSED));
    if (mods == 0 && (key == VK_INSERT || key == VK_BACK)) {
        ToggleMark(view, view.Selected());
        key = VK_DOWN;
    }
    if (Is(key, shift, VK_ADD, ssCtrl)) MarkAll(view);
    if (Is(key, shift, VK_SUBTRACT, ssCtrl)) UnmarkAll(view);
    if (Is(key, shift, VK_MULTIPLY, 0)) InvertMarks(view);
    if (Is(key, shift, VK_ADD, 0) && !GroupMarking(side, true)) return;
    if (Is(key, shift, VK_SUBTRACT, 0) && !GroupMarking(side, false)) return;
    if (Is(key, shift, VK_F3, 0)) ViewCommands.ViewCursorRow(side);
    if (Is(key, shift, VK_F4, ssShift) && !ViewCommands.EditNamedFile(side)) return;
    if (Is(key, shift, VK_F4, 0)) ViewCommands.EditCursorRow(side);

    struct FileKey {
        WORD key;
        ui::TShiftState shift;
        TFileCommand command;
    };
    static const FileKey fileKeys[] = {
        {VK_F5, 0, TFileCommand::Copy},
        {VK_F6, 0, TFileCommand::RenameMove},
        {VK_F7, 0, TFileCommand::MakeDir},
        {VK_DELETE, ssShift, TFileCommand::DeleteForGood},
        {VK_F8, 0, TFileCommand::DeleteToRecycleBin},
        {VK_DELETE, 0, TFileCommand::DeleteToRecycleBin},
    };
    for (const FileKey &f : fileKeys) {
        if (!Is(key, shift, f.key, f.shift)) continue;
        // A cancelled dialog ends the handler; a command that ran has re-listed both sides.
        if (!FileCommands.Run(side, f.command)) return;
    }

    if (Is(key, shift, VK_F10, 0)) ExitPrompt();
    if (Is(key, shift, VK_RETURN, 0)) {
        if (!CommandLine.CommandLineText().empty()) CommandLine.RunCommandLineFromPanel();
        else side.OpenCursorRow();
    }
    if (Is(key, shift, VK_F1, ssAlt)) {
        if (!isLeft) {
            Left.ColourActive();
            Left.ShowDirectory(true);
        }
        Left.DriveCombo.SetFocus();
        Left.DriveCombo.SetDroppedDown(true);
    }
    if (Is(key, shift, VK_F2, ssAlt)) {
        if (isLeft) {
            Right.ColourActive();
            Right.ShowDirectory(true);
        }
        Right.DriveCombo.SetFocus();
        Right.DriveCombo.SetDroppedDown(true);
    }
    if (mods == 0 && key >= 48 && key <= 95) CommandLine.TypeIntoCommandLine(static_cast<wchar_t>(key));
    if (Is(key, shift, VK_RETURN, ssCtrl)) {
        int row = view.Selected();
        if (row >= 0) CommandLine.InsertIntoCommandLine(view.Name(row));
    }
    if (Is(key, shift, VK_ESCAPE, 0)) CommandLine.ClearCommandLine();
    if (Is(key, shift, VK_NEXT, ssCtrl)) side.OpenCursorRow();
    if (Is(key, shift, VK_RIGHT, ssCtrl)) CopyDirectoryAcross(side, Left, Right);
    if (Is(key, shift, VK_LEFT, ssCtrl)) CopyDirectoryAcross(side, Right, Left);
    if (Is(key, shift, VK_ESCAPE, ssShift)) Application().Minimize();
    if (Is(key, shift, VK_F10, ssShift)) {
        int row = view.Selected();
        if (row >= 0) {
            RECT r{};
            r.left = LVIR_BOUNDS;
            SendMessageW(view.Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
            POINT at{r.left + 42, r.top + 2};
            ClientToScreen(view.Handle(), &at);
            FileCommands.ShowContextMenu(side, at);
        }
    }
    if (Is(key, shift, VK_RETURN, ssShift | ssAlt)) FileCommands.ShowProperties(side);
    if (Is(key, shift, 'L', ssCtrl)) ShowDiskInfo(side);
}

// Ctrl+Right and Ctrl+Left: the side at the arrow's end lists the directory of the side at its start.
void TMainForm::CopyDirectoryAcross(TSide &keySide, TSide &from, TSide &to) {
    keySide.Other().ShowFileView();
    to.SetDirectory(from.Directory());
    to.ShowDirectory(to.IsActive());
    if (&keySide == &to) to.FileView.PlaceCursor();
}

void TMainForm::FileViewKeyUp(TSide &side, WORD &key, ui::TShiftState shift) {
    side.FileViewKeyUp(key, shift);
    // F10 has done its work on the way down; its release would otherwise open the menu bar.
    if (key == VK_F10) key = 0;
}

void TMainForm::ExitPrompt() {
    if (MessageBoxW(Handle(), L"Exit from Zelvor", ui::Application().Title().c_str(), MB_OKCANCEL) == IDOK) Close();
}

bool TMainForm::GroupMarking(TSide &side, bool mark) {
    std::wstring pattern;
    if (!AskSelectionMask(mark ? L"Expand Selection" : L"Shrink Selection", pattern) || pattern.empty())
        return false;
    MarkGroup(side.FileView, pattern, mark);
    side.FocusAndPlaceCursor();
    return true;
}

void TMainForm::FileViewMouseUp(TSide &side, ui::TMouseButton button, ui::TShiftState shift) {
    if (button != ui::TMouseButton::mbRight || (shift & (ui::kModifierMask | ui::ssLeft | ui::ssMiddle))) return;
    if (side.FileView.Selected() < 0) return;
    POINT at;
    GetCursorPos(&at);
    FileCommands.ShowContextMenu(side, at);
}

} // namespace app
