#include "app/SettingsCommands.h"

#include "app/Side.h"
#include "config/OptionStore.h"
#include "config/SettingsKey.h"
#include "config/WindowBounds.h"
#include "filelist/HistoryFile.h"
#include "filelist/ReadAhead.h"
#include "ui/Application.h"
#include "ui/HistoryBox.h"
#include "ui/Text.h"

namespace app {

TSettingsCommands::TSettingsCommands(ICommandHost &host) : HistoryFile(filelist::HistoryFilePath()), host_(host) {}

TSettingsCommands::~TSettingsCommands() = default;

// ---- The panels' look ----

void TSettingsCommands::SetPanelTextColor(config::TColor color) {
    textColor_ = color;
    for (TSide *side : {&host_.LeftSide(), &host_.RightSide()})
        side->FileView.SetColors(config::ColorToRGB(textColor_), config::ColorToRGB(backColor_));
}

void TSettingsCommands::SetPanelBackColor(config::TColor color) {
    backColor_ = color;
    for (TSide *side : {&host_.LeftSide(), &host_.RightSide()})
        side->FileView.SetColors(config::ColorToRGB(textColor_), config::ColorToRGB(backColor_));
}

std::wstring TSettingsCommands::PanelFontName() const {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(host_.LeftSide().FileView.Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf))
        return {};
    return lf.lfFaceName;
}

// Only the face changes; size and style stay those of the window's font.
void TSettingsCommands::SetPanelFontName(const std::wstring &name) {
    // The lists already show that face (as at every start with the usual font): a new font would only
    // make them measure and lay out their rows again.
    if (!name.empty() && lstrcmpiW(name.c_str(), PanelFontName().c_str()) == 0) return;
    LOGFONTW lf{};
    GetObjectW(host_.WindowFont(), sizeof lf, &lf);
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    ui::FontHandle font(CreateFontIndirectW(&lf));
    host_.LeftSide().FileView.SetFont(font.Get());
    host_.RightSide().FileView.SetFont(font.Get());
    panelFont_ = std::move(font);
}

// ---- Start and exit ----

// Each restore step stands on its own: a bad or missing value is reported, and the steps after it still
// run, so one bad value neither stops the rest of the start nor gets the others written over at exit.
void TSettingsCommands::RestoreBeforeLayout() {
    std::vector<std::wstring> errors;
    auto step = [&errors](const std::function<void()> &run) {
        try {
            run();
            return true;
        } catch (const std::exception &e) {
            errors.push_back(ui::Widen(e.what()));
            return false;
        }
    };
    config::TWindowPos pos = WindowPos();
    // Without the key, nothing can be read, nor written: that is said now, and not again at exit.
    settingsUnwritable_ = !step([&] {
        config::CreateReg({pos.top, pos.left, pos.width, pos.height, PanelFontName(), textColor_, backColor_});
    });
    if (settingsUnwritable_) {
        errors.back() += L"\nZelvor goes on with its built-in settings; this run's cannot be kept.";
    } else {
        config::TSettingsKey key;
        step([&] { SetPanelTextColor(key.ReadColor(L"FontColor")); });
        step([&] { SetPanelBackColor(key.ReadColor(L"BackColor")); });
        step([&] { SetPanelFontName(key.ReadString(L"FileListFont")); });
        if (ReadChoice(L"DIR", L"SaveDir", errors))
            directoriesRestored_ = RestoreDirectories(errors, false);
        if (ReadChoice(L"PAN", L"SavePanels", errors)) {
            RestoreValue(L"LeftPanelStyle", errors, [&](const std::wstring &style) {
                host_.LeftSide().FileView.SetViewStyle(config::IsBriefStyle(style) ? filelist::vsList : filelist::vsReport);
            });
            RestoreValue(L"RightPanelStyle", errors, [&](const std::wstring &style) {
                host_.RightSide().FileView.SetViewStyle(config::IsBriefStyle(style) ? filelist::vsList : filelist::vsReport);
            });
        }
        if (ReadChoice(L"CMD", L"SaveCommand", errors))
            step([&] {
                if (auto lines = history_.Load(HistoryFile))
                    host_.CommandBox().SetItems(std::move(*lines));
            });
        // The values read before a failing one still count.
        step([&] {
            config::LoadRegPos([&pos](config::TPosValue which, int value) { SetPosValue(pos, which, value); },
                               &inHand_);
        });
    }
    // The window moves once: every move lays out all its controls again.
    PlaceOnScreen(pos);
    if (!errors.empty()) {
        std::wstring message;
        for (const std::wstring &error : errors)
            message += (message.empty() ? L"" : L"\n") + error;
        ui::Application().HandleException(ui::Error(message));
    }
}

bool TSettingsCommands::ReadChoice(const wchar_t *kind, const wchar_t *name, std::vector<std::wstring> &errors) {
    inHand_.Reached(name);
    try {
        return config::ReadSaveCheck(kind);
    } catch (const std::exception &e) {
        inHand_.Failed(name);
        errors.push_back(ui::Widen(e.what()));
        return false;
    }
}

bool TSettingsCommands::RestoreValue(const wchar_t *name, std::vector<std::wstring> &errors,
                                     const std::function<void(const std::wstring &)> &apply) {
    inHand_.Reached(name);
    try {
        apply(config::TSettingsKey().ReadString(name));
        return true;
    } catch (const std::exception &e) {
        inHand_.Failed(name);
        errors.push_back(ui::Widen(e.what()));
        return false;
    }
}

void ReadSavedDirectoriesAhead() {
    int started = 0;
    try {
        if (config::TSettingsKey::Exists() && config::ReadSaveCheck(L"DIR")) {
            config::TSettingsKey key;
            // The left side is listed first.
            for (const wchar_t *name : {L"LeftDirectory", L"RightDirectory"})
                if (filelist::StartReadAhead(key.ReadString(name))) ++started;
        }
    } catch (const std::exception &) {
    }
    // Without both folders read ahead, no reader can tell that the shell's pictures can wait.
    if (started < 2) filelist::NeedShellPictures();
}

// The saved directories win over the drive roots the drive boxes have moved the panels to.
void TSettingsCommands::RestoreDirectoriesAgain() {
    if (!directoriesRestored_)
        return;
    std::vector<std::wstring> errors;
    if (ReadChoice(L"DIR", L"SaveDir", errors))
        RestoreDirectories(errors, true);
    for (const std::wstring &error : errors)
        ui::Application().HandleException(ui::Error(error));
}

// Again: only the values that restored well the first time; a bad one has been reported once.
bool TSettingsCommands::RestoreDirectories(std::vector<std::wstring> &errors, bool again) {
    bool right = false, left = false;
    if (!again || inHand_.Usable(L"RightDirectory"))
        right = RestoreValue(L"RightDirectory", errors, [&](const std::wstring &d) { host_.RightSide().SetDirectory(d); });
    if (!again || inHand_.Usable(L"LeftDirectory"))
        left = RestoreValue(L"LeftDirectory", errors, [&](const std::wstring &d) { host_.LeftSide().SetDirectory(d); });
    return right || left;
}

// Only values in hand are written: what this run did not restore keeps what the last run saved. The
// window closes all the same. The history and the settings key fail apart: a key that cannot be written
// (a limited user on XP) does not cost the history, nor a history that cannot be written the key. Each
// is said once a run: a key that could not be made at start, or failed before, fails quietly now.
void TSettingsCommands::SaveOnClose() {
    auto settingsStep = [this](const std::function<void()> &save) {
        try {
            save();
        } catch (const std::exception &e) {
            if (!settingsUnwritable_)
                ui::Application().HandleException(ui::Error(
                    ui::Widen(e.what()) + L"\nThe settings of this run cannot be kept in HKEY_LOCAL_MACHINE" +
                    config::kSettingsKeyPath + L"."));
            settingsUnwritable_ = true;
        }
    };
    settingsStep([&] { config::SavePanelsState(PanelsState(), &inHand_, true); });
    if (inHand_.Usable(L"SaveCommand")) {
        try {
            SaveHistory(false);
        } catch (const std::exception &e) {
            ui::Application().HandleException(e);
        }
    }
    settingsStep([&] { config::SaveRegPos(WindowPos(), &inHand_, true); });
}

void TSettingsCommands::Saveposition1Click() {
    try {
        config::SaveRegPos(WindowPos(), &inHand_);
    } catch (const std::exception &) {
        settingsUnwritable_ = true; // said now, not again at exit
        throw;
    }
}

void TSettingsCommands::SaveHistory(bool evenWhenEmpty) {
    if (!config::ReadSaveCheck(L"CMD"))
        return;
    if (host_.CommandBox().Count() == 0 && !evenWhenEmpty)
        return;
    history_.Save(HistoryFile, host_.CommandBox().Items());
}

config::TPanelsState TSettingsCommands::PanelsState() const {
    return {host_.LeftSide().Directory(), host_.RightSide().Directory(), host_.LeftSide().FileView.ViewStyle() == filelist::vsList,
            host_.RightSide().FileView.ViewStyle() == filelist::vsList};
}

config::TWindowPos TSettingsCommands::WindowPos() const {
    RECT r{};
    GetWindowRect(host_.OwnerWindow(), &r);
    // A minimised window sits far off the screen; what it comes back to is what the next start wants.
    // That position is relative to the work area of its monitor, which a taskbar at the top or the left
    // moves away from the screen's corner.
    if (IsIconic(host_.OwnerWindow())) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(host_.OwnerWindow(), &placement)) {
            r = placement.rcNormalPosition;
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor))
                r = config::WorkspaceToScreen(r, monitor.rcWork, monitor.rcMonitor);
        }
    }
    return {r.top, r.left, r.right - r.left, r.bottom - r.top};
}

// Saved bounds off every monitor, or too small to use, are brought back to a window one can reach.
config::TWindowPos TSettingsCommands::OnAMonitor(const config::TWindowPos &pos) {
    RECT caption{pos.left, pos.top, pos.left + pos.width, pos.top + GetSystemMetrics(SM_CYCAPTION)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &monitor))
        return config::OnWorkArea(pos, monitor.rcWork, GetSystemMetrics(SM_CYCAPTION));
    return pos;
}

std::optional<config::TWindowPos> TSettingsCommands::SavedPlacement() const {
    try {
        if (!config::TSettingsKey::Exists()) return std::nullopt;
        config::TWindowPos pos{};
        config::LoadRegPos([&pos](config::TPosValue which, int value) { SetPosValue(pos, which, value); });
        return OnAMonitor(pos);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

void TSettingsCommands::PlaceOnScreen(const config::TWindowPos &pos) {
    config::TWindowPos usable = OnAMonitor(pos);
    config::TWindowPos now = WindowPos();
    if (usable.left != now.left || usable.top != now.top || usable.width != now.width || usable.height != now.height)
        SetWindowPos(host_.OwnerWindow(), nullptr, usable.left, usable.top, usable.width, usable.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSettingsCommands::SetPosValue(config::TWindowPos &pos, config::TPosValue which, int value) {
    switch (which) {
    case config::TPosValue::Top:
        pos.top = value;
        break;
    case config::TPosValue::Left:
        pos.left = value;
        break;
    case config::TPosValue::Width:
        pos.width = value;
        break;
    case config::TPosValue::Height:
        pos.height = value;
        break;
    }
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
    for (const wchar_t *choice : {L"SaveDir", L"SavePanels", L"SaveCommand"})
        inHand_.Written(choice);
    config::SavePanelsState(PanelsState(), &inHand_);
    SaveHistory(fromOk);
    config::OptionSaveReg(OptionForm);
}

} // namespace app
