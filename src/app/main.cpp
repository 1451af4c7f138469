#include <windows.h>

#include "app/MainForm.h"
#include "app/SettingsCommands.h"
#include "app/StartupTrace.h"
#include "filelist/ShellInfo.h"
#include "ui/Application.h"
#include "ui/Threads.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    app::TraceStartup(L"process entry");
    filelist::PrepareShellPicturesInBackground([] { app::TraceStartup(L"shell pictures ready"); });
    app::ReadSavedDirectoriesAhead();
    app::InitApplication();
    app::TraceStartup(L"application initialised");
    app::TMainForm MainForm;
    MainForm.Create();
    app::TraceStartup(L"main window created");
    int result = ui::Application().Run();
    // The threads still at work are waited for while all they may touch stands; none starts any more.
    ui::JoinThreads();
    return result;
}
