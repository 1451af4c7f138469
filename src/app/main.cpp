#include <windows.h>

#include "app/MainForm.h"
#include "ui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    app::InitApplication();
    app::TMainForm MainForm;
    MainForm.Create();
    return ui::Application().Run();
}
