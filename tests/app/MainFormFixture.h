#pragma once
#include <gtest/gtest.h>
#define NO_SHLWAPI_STRFCNS // its StrToInt would rename the program's own
#include <shlwapi.h>

#include <memory>
#include <string>

#include "app/MainForm.h"
#include "driver/TestDriver.h"
#include "ui/Application.h"

// The program's main window, created and shown as the program body does, for one test.
class MainFormTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool initialised = false;
        if (!initialised) app::InitApplication();
        initialised = true;
    }

    // Every test starts as on a first start: no settings key and no command history.
    static void ForgetSettings() {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kestrune\\Zelvor");
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring history = exe;
        history = history.substr(0, history.rfind(L'\\') + 1) + L"cmd.his";
        DeleteFileW(history.c_str());
    }

    void SetUp() override {
        ForgetSettings();
        form = std::make_unique<app::TMainForm>();
        form->Create();
        form->Show();
        testdriver::Pump(50);
    }

    void TearDown() override {
        testdriver::ClearAnswers();
        form.reset();
        ForgetSettings();
        // A closed main window asks the loop to end; the next test starts a loop of its own.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND LeftView() { return form->LeftFileView.Handle(); }
    HWND RightView() { return form->RightFileView.Handle(); }

    std::unique_ptr<app::TMainForm> form;
};
