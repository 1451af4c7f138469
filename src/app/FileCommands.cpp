#include "app/FileCommands.h"

#include "app/MainForm.h"

namespace app {

TFileCommands::TFileCommands(TMainForm &form) : form_(form) {}
TFileCommands::~TFileCommands() = default;

void TFileCommands::CreateWindows() {}

bool TFileCommands::Run(TSide &, TFileCommand) { return false; }

void TFileCommands::Change1Click() {}

void TFileCommands::ShowContextMenu(TSide &, POINT) {}

void TFileCommands::ShowProperties(TSide &) {}

} // namespace app
