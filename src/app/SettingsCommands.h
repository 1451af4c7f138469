#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandHost.h"
#include "config/Colors.h"
#include "config/OptionForm.h"
#include "config/SettingsStore.h"
#include "filelist/HistoryFile.h"
#include "ui/Handles.h"

namespace app {

// Starts reading the saved directories in the background, if directories are saved, so that they are
// read while the window is being made. Only a head start: whatever goes wrong here, the restore meets
// it again and reports it.
void ReadSavedDirectoriesAhead();

// The main window's settings: restore at start and save at exit (the command line's history among them),
// and the Configuration dialog.
class TSettingsCommands {
public:
    explicit TSettingsCommands(ICommandHost &host);
    ~TSettingsCommands();

    // Start-up: the restore steps before the layout (key with defaults, colours and font, directories,
    // view styles, history, window position), and the second assignment of the saved directories.
    void RestoreBeforeLayout();
    // The saved window bounds as the restore will place them, read before the window is made so that it
    // is made there: moving a top-level window costs a round with the display. Nothing when the key or
    // a bound is missing or bad; the restore then reports it as ever.
    std::optional<config::TWindowPos> SavedPlacement() const;
    void RestoreDirectoriesAgain();
    // Exit: what the save-on-exit choices ask for, and always the window position.
    void SaveOnClose();
    void Saveposition1Click();
    void Options1Click();

    // The Configuration dialog, created when it is first opened.
    config::TOptionForm OptionForm;
    // Apply's steps: the colours and the font to both panels, the save-on-exit choices, what they ask to
    // save now, and the dialog's settings. fromOk writes the history file even when the history is empty.
    void ApplyOptions(bool fromOk);

    // The history file, "cmd.his" beside the executable.
    std::wstring HistoryFile;

    // The panels' look as last applied, in the settings store's colour values.
    config::TColor PanelTextColor() const { return textColor_; }
    config::TColor PanelBackColor() const { return backColor_; }
    std::wstring PanelFontName() const;

private:
    void SetPanelTextColor(config::TColor color);
    void SetPanelBackColor(config::TColor color);
    void SetPanelFontName(const std::wstring &name);
    // Restore steps that report into errors and go on; each notes its value in hand.
    bool ReadChoice(const wchar_t *kind, const wchar_t *name, std::vector<std::wstring> &errors);
    bool RestoreValue(const wchar_t *name, std::vector<std::wstring> &errors,
                      const std::function<void(const std::wstring &)> &apply);
    bool RestoreDirectories(std::vector<std::wstring> &errors, bool again);
    void SaveHistory(bool evenWhenEmpty);
    config::TPanelsState PanelsState() const;
    config::TWindowPos WindowPos() const;
    static void SetPosValue(config::TWindowPos &pos, config::TPosValue which, int value);
    // Moves the window to the bounds, brought back onto a monitor when they lie off every one.
    void PlaceOnScreen(const config::TWindowPos &pos);
    static config::TWindowPos OnAMonitor(const config::TWindowPos &pos);

    ICommandHost &host_;
    config::TColor textColor_ = config::clWindowText;
    config::TColor backColor_ = config::clWindow;
    ui::FontHandle panelFont_;
    config::TValuesInHand inHand_;
    bool directoriesRestored_ = false;
    bool settingsUnwritable_ = false; // the settings key could not be written, and that has been said
    filelist::THistoryFile history_;
};

} // namespace app
