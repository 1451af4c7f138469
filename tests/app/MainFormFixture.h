#pragma once
#include <gtest/gtest.h>

#include <memory>

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

    void SetUp() override {
        form = std::make_unique<app::TMainForm>();
        form->Create();
        form->Show();
        testdriver::Pump(50);
    }

    void TearDown() override {
        testdriver::ClearAnswers();
        form.reset();
        // A closed main window asks the loop to end; the next test starts a loop of its own.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND LeftView() { return form->LeftFileView.Handle(); }
    HWND RightView() { return form->RightFileView.Handle(); }

    std::unique_ptr<app::TMainForm> form;
};
