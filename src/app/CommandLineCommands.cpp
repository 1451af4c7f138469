#include "app/CommandLineCommands.h"

#include <shellapi.h>

#include "app/Side.h"
#include "filelist/CommandLine.h"
#include "ui/HistoryBox.h"

namespace app {

TCommandLineCommands::TCommandLineCommands(ICommandHost &host) : host_(host) {
    ShellOpen = [](HWND owner, const std::wstring &file, const std::wstring &parameters) {
        // The result is ignored: the shell reports what it cannot open itself, if at all.
        ShellExecuteW(owner, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                      SW_SHOW);
    };
}

void TCommandLineCommands::CreateWindows() {
    host_.CommandBox().OnKeyDown = [this](WORD &key, ui::TShiftState shift) { HistoryCmdBoxKeyDown(key, shift); };
}

void TCommandLineCommands::RunDOS1Click() {
    filelist::TShellRequest request = filelist::WithinShellLimits({filelist::CommandInterpreter(), L""});
    ShellOpen(host_.OwnerWindow(), request.file, request.parameters);
}

std::wstring TCommandLineCommands::CommandLineText() const {
    return host_.CommandBox().Text();
}

void TCommandLineCommands::RunCommandLineFromPanel() {
    std::wstring command = CommandLineText();
    if (command.empty())
        return;
    // A command the system cannot take is refused before anything runs; it stays in the command line.
    filelist::TShellRequest request =
        filelist::WithinShellLimits(filelist::PanelRunRequest(host_.PromptText(), command));
    ShellOpen(host_.OwnerWindow(), request.file, request.parameters);
    host_.CommandBox().AddItem(command);
    ClearCommandLine();
}

void TCommandLineCommands::RunCommandLine() {
    std::wstring command = CommandLineText();
    if (command.empty())
        return;
    filelist::TShellRequest request =
        filelist::WithinShellLimits(filelist::CommandLineRunRequest(host_.PromptText(), command));
    ShellOpen(host_.OwnerWindow(), request.file, request.parameters);
    host_.CommandBox().AddItem(command);
    ClearCommandLine();
    host_.ActiveSide().FileView.SetFocus();
}

void TCommandLineCommands::TypeIntoCommandLine(wchar_t c) {
    ui::THistoryBox &box = host_.CommandBox();
    box.SetText(CommandLineText() + c);
    box.SetFocus();
    box.PlaceCaretAtEnd();
}

void TCommandLineCommands::InsertIntoCommandLine(const std::wstring &name) {
    std::wstring text = CommandLineText();
    host_.CommandBox().SetText(text.empty() ? name + L" " : text + L" " + name + L" ");
}

void TCommandLineCommands::ClearCommandLine() {
    host_.CommandBox().SetText(L"");
}

void TCommandLineCommands::HistoryCmdBoxKeyDown(WORD &key, ui::TShiftState shift) {
    bool plain = (shift & ui::kModifierMask) == 0;
    if (key == VK_ESCAPE) {
        ClearCommandLine();
        host_.ActiveSide().FileView.SetFocus();
    } else if ((key == VK_UP || key == VK_DOWN) && plain) {
        // Not consumed: the box still steps through its history, and Enter in the panel then runs it.
        host_.ActiveSide().FileView.SetFocus();
    } else if (key == VK_RETURN && plain) {
        RunCommandLine();
    }
}

} // namespace app
