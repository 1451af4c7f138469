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

bool TCommandLineCommands::RunTyped(
    const std::function<filelist::TShellRequest(const std::wstring &prompt, const std::wstring &command)> &request) {
    std::wstring command = CommandLineText();
    if (command.empty())
        return false;
    // A command the system cannot take is refused before anything runs; it stays in the command line.
    filelist::TShellRequest shell = filelist::WithinShellLimits(request(host_.PromptText(), command));
    ShellOpen(host_.OwnerWindow(), shell.file, shell.parameters);
    host_.CommandBox().AddItem(command);
    ClearCommandLine();
    return true;
}

void TCommandLineCommands::RunCommandLineFromPanel() {
    RunTyped([](const std::wstring &prompt, const std::wstring &command) {
        return filelist::PanelRunRequest(prompt, command);
    });
}

void TCommandLineCommands::RunCommandLine() {
    if (RunTyped([](const std::wstring &prompt, const std::wstring &command) {
            return filelist::CommandLineRunRequest(prompt, command);
        }))
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
