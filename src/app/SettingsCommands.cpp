#include "app/SettingsCommands.h"

#include <shellapi.h>

#include "app/MainForm.h"
#include "config/OptionStore.h"
#include "config/SettingsKey.h"
#include "filelist/CommandLine.h"
#include "filelist/HistoryFile.h"
#include "ui/Application.h"

namespace app {

TSettingsCommands::TSettingsCommands(TMainForm &form) : HistoryFile(filelist::HistoryFilePath()), form_(form) {
    ShellOpen = [](HWND owner, const std::wstring &file, const std::wstring &parameters) {
        // The result is ignored: the shell reports what it cannot open itself, if at all.
        ShellExecuteW(owner, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                      SW_SHOW);
    };
}

TSettingsCommands::~TSettingsCommands() = default;

void TSettingsCommands::CreateWindows() {
    form_.HistoryCmdBox.OnKeyDown = [this](WORD &key, ui::TShiftState shift) { HistoryCmdBoxKeyDown(key, shift); };
}

TSide &TSettingsCommands::ActiveSide() {
    return form_.ActiveSide();
}

// ---- The panels' look ----

void TSettingsCommands::SetPanelTextColor(config::TColor color) {
    textColor_ = color;
    for (TSide *side : {&form_.Left, &form_.Right})
        side->FileView.SetColors(config::ColorToRGB(textColor_), config::ColorToRGB(backColor_));
}

void TSettingsCommands::SetPanelBackColor(config::TColor color) {
    backColor_ = color;
    for (TSide *side : {&form_.Left, &form_.Right})
        side->FileView.SetColors(config::ColorToRGB(textColor_), config::ColorToRGB(backColor_));
}

std::wstring TSettingsCommands::PanelFontName() const {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(form_.Left.FileView.Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf))
        return {};
    return lf.lfFaceName;
}

// Only the face changes; size and style stay those of the window's font.
void TSettingsCommands::SetPanelFontName(const std::wstring &name) {
    LOGFONTW lf{};
    GetObjectW(form_.FormFont(), sizeof lf, &lf);
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    ui::FontHandle font(CreateFontIndirectW(&lf));
    form_.Left.FileView.SetFont(font.Get());
    form_.Right.FileView.SetFont(font.Get());
    panelFont_ = std::move(font);
}

// ---- Start and exit ----

void TSettingsCommands::RestoreBeforeLayout() {
    config::TWindowPos pos = WindowPos();
    config::CreateReg({pos.top, pos.left, pos.width, pos.height, PanelFontName(), textColor_, backColor_});
    {
        config::TSettingsKey key;
        SetPanelTextColor(key.ReadColor(L"FontColor"));
        SetPanelBackColor(key.ReadColor(L"BackColor"));
        SetPanelFontName(key.ReadString(L"FileListFont"));
        if (config::ReadSaveCheck(L"DIR"))
            RestoreDirectories();
        if (config::ReadSaveCheck(L"PAN")) {
            form_.Left.FileView.SetViewStyle(
                config::IsBriefStyle(key.ReadString(L"LeftPanelStyle")) ? filelist::vsList : filelist::vsReport);
            form_.Right.FileView.SetViewStyle(
                config::IsBriefStyle(key.ReadString(L"RightPanelStyle")) ? filelist::vsList : filelist::vsReport);
        }
        if (config::ReadSaveCheck(L"CMD"))
            if (auto lines = filelist::ReadHistoryFile(HistoryFile))
                form_.HistoryCmdBox.SetItems(*lines);
    }
    config::LoadRegPos([this](config::TPosValue which, int value) { SetWindowPosValue(which, value); });
}

// The saved directories win over the drive roots the drive boxes have moved the panels to.
void TSettingsCommands::RestoreDirectoriesAgain() {
    if (config::ReadSaveCheck(L"DIR"))
        RestoreDirectories();
}

void TSettingsCommands::RestoreDirectories() {
    config::TSettingsKey key;
    form_.Right.SetDirectory(key.ReadString(L"RightDirectory"));
    form_.Left.SetDirectory(key.ReadString(L"LeftDirectory"));
}

// A failing step is reported and skips the rest, but the window closes all the same.
void TSettingsCommands::SaveOnClose() {
    try {
        config::SavePanelsState(PanelsState());
        SaveHistory(false);
        config::SaveRegPos(WindowPos());
    } catch (const std::exception &e) {
        ui::Application().HandleException(e);
    }
}

void TSettingsCommands::Saveposition1Click() {
    config::SaveRegPos(WindowPos());
}

void TSettingsCommands::SaveHistory(bool evenWhenEmpty) {
    if (!config::ReadSaveCheck(L"CMD"))
        return;
    if (form_.HistoryCmdBox.Count() == 0 && !evenWhenEmpty)
        return;
    filelist::WriteHistoryFile(HistoryFile, form_.HistoryCmdBox.Items());
}

config::TPanelsState TSettingsCommands::PanelsState() const {
    return {form_.Left.Directory(), form_.Right.Directory(), form_.Left.FileView.ViewStyle() == filelist::vsList,
            form_.Right.FileView.ViewStyle() == filelist::vsList};
}

config::TWindowPos TSettingsCommands::WindowPos() const {
    RECT r{};
    GetWindowRect(form_.Handle(), &r);
    // A minimised window sits far off the screen; what it comes back to is what the next start wants.
    if (IsIconic(form_.Handle())) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(form_.Handle(), &placement))
            r = placement.rcNormalPosition;
    }
    return {r.top, r.left, r.right - r.left, r.bottom - r.top};
}

void TSettingsCommands::SetWindowPosValue(config::TPosValue which, int value) {
    RECT r{};
    GetWindowRect(form_.Handle(), &r);
    int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    switch (which) {
    case config::TPosValue::Top:
        y = value;
        break;
    case config::TPosValue::Left:
        x = value;
        break;
    case config::TPosValue::Width:
        w = value;
        break;
    case config::TPosValue::Height:
        h = value;
        break;
    }
    SetWindowPos(form_.Handle(), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Configuration dialog ----

void TSettingsCommands::Options1Click() {
    // The dialog (with its list of the system's fonts) is made when it is first opened.
    if (!OptionForm.Handle()) {
        OptionForm.Create();
        OptionForm.OnApplySettings = [this](bool fromOk) { ApplyOptions(fromOk); };
    }
    config::OptionLoadReg(OptionForm);
    OptionForm.ShowModal();
}

void TSettingsCommands::ApplyOptions(bool fromOk) {
    SetPanelBackColor(OptionForm.BackColorCombo.Value());
    SetPanelTextColor(OptionForm.FontColorCombo.Value());
    SetPanelFontName(OptionForm.FontCombo.Value());
    config::SaveCheck(OptionForm.Ch_Dir.Checked(), OptionForm.Ch_Pan.Checked(), OptionForm.Ch_Cmd.Checked());
    config::SavePanelsState(PanelsState());
    SaveHistory(fromOk);
    config::OptionSaveReg(OptionForm);
}

// ---- Command line ----

void TSettingsCommands::RunDOS1Click() {
    ShellOpen(form_.Handle(), filelist::CommandInterpreter(), L"");
}

std::wstring TSettingsCommands::CommandLineText() const {
    return form_.HistoryCmdBox.Text();
}

void TSettingsCommands::RunCommandLineFromPanel() {
    std::wstring command = CommandLineText();
    if (command.empty())
        return;
    filelist::TShellRequest request = filelist::PanelRunRequest(form_.CMDTitlePanel.Caption(), command);
    ShellOpen(form_.Handle(), request.file, request.parameters);
    form_.HistoryCmdBox.AddItem(command);
    ClearCommandLine();
}

void TSettingsCommands::RunCommandLine() {
    std::wstring command = CommandLineText();
    if (command.empty())
        return;
    filelist::TShellRequest request = filelist::CommandLineRunRequest(form_.CMDTitlePanel.Caption(), command);
    ShellOpen(form_.Handle(), request.file, request.parameters);
    form_.HistoryCmdBox.AddItem(command);
    ClearCommandLine();
    ActiveSide().FileView.SetFocus();
}

void TSettingsCommands::TypeIntoCommandLine(wchar_t c) {
    form_.HistoryCmdBox.SetText(CommandLineText() + c);
    form_.HistoryCmdBox.SetFocus();
    form_.HistoryCmdBox.PlaceCaretAtEnd();
}

void TSettingsCommands::InsertIntoCommandLine(const std::wstring &name) {
    std::wstring text = CommandLineText();
    form_.HistoryCmdBox.SetText(text.empty() ? name + L" " : text + L" " + name + L" ");
}

void TSettingsCommands::ClearCommandLine() {
    form_.HistoryCmdBox.SetText(L"");
}

void TSettingsCommands::HistoryCmdBoxKeyDown(WORD &key, ui::TShiftState shift) {
    bool plain = (shift & ui::kModifierMask) == 0;
    if (key == VK_ESCAPE) {
        ClearCommandLine();
        ActiveSide().FileView.SetFocus();
    } else if ((key == VK_UP || key == VK_DOWN) && plain) {
        // Not consumed: the box still steps through its history, and Enter in the panel then runs it.
        ActiveSide().FileView.SetFocus();
    } else if (key == VK_RETURN && plain) {
        RunCommandLine();
    }
}

} // namespace app
