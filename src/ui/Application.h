#pragma once
#include <windows.h>

#include <exception>
#include <string>

namespace ui {

// The application object: its title, its help file, and the handler that shows an error raised
// inside any window procedure and lets the program go on.
class TApplication {
public:
    static TApplication &Instance();

    const std::wstring &Title() const { return title_; }
    void SetTitle(const std::wstring &title) { title_ = title; }
    const std::wstring &HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::wstring &file) { helpFile_ = file; }

    // Shows the message of an error caught in a handler, captioned with the application title.
    void HandleException(const std::exception &error);
    // Lets pending window messages be handled (used inside long loops on the UI thread).
    void ProcessMessages();

private:
    std::wstring title_ = L"Zelvor";
    std::wstring helpFile_;
};

inline TApplication &Application() { return TApplication::Instance(); }

} // namespace ui
