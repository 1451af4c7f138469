#include <windows.h>

#include "app/MainForm.h"
#include "app/SettingsCommands.h"
#include "app/StartupTrace.h"
#include "filelist/ShellInfo.h"
#include "ui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    app::TraceStartup(L"process entry");
    filelist::PrepareShellPicturesInBackground([] { app::TraceStartup(L"shell pictures ready"); });
    app::ReadSavedDirectoriesAhead();
    app::InitApplication();
    app::TraceStartup(L"application initialised");
    app::TMainForm MainForm;
    MainForm.Create();
    app::TraceStartup(L"main window created");
    return ui::Application().Run();
}
