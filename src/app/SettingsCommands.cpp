#include "app/SettingsCommands.h"

#include "app/MainForm.h"

namespace app {

TSettingsCommands::TSettingsCommands(TMainForm &form) : form_(form) {}
TSettingsCommands::~TSettingsCommands() = default;

void TSettingsCommands::CreateWindows() {}
void TSettingsCommands::RestoreBeforeLayout() {}
void TSettingsCommands::RestoreDirectoriesAgain() {}
void TSettingsCommands::SaveOnClose() {}
void TSettingsCommands::Saveposition1Click() {}
void TSettingsCommands::Options1Click() {}
void TSettingsCommands::RunDOS1Click() {}
std::wstring TSettingsCommands::CommandLineText() const { return form_.HistoryCmdBox.Text(); }
void TSettingsCommands::RunCommandLineFromPanel() {}
void TSettingsCommands::TypeIntoCommandLine(wchar_t) {}
void TSettingsCommands::InsertIntoCommandLine(const std::wstring &) {}
void TSettingsCommands::ClearCommandLine() {}
void TSettingsCommands::HistoryCmdBoxKeyDown(WORD &, ui::TShiftState) {}

} // namespace app
