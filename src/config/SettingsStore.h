#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "config/Colors.h"

namespace config {

// The operations on the settings key. Each one uses an accessor of its own (TSettingsKey): it opens the
// key, reads or writes its group of values one at a time and closes the key again. A failure raises an
// error carrying the message; values written before it stay written.

// What the first start stores: the window's bounds when it is first shown and the left panel's look.
struct TSettingsDefaults {
    int top = 0, left = 0, width = 0, height = 0;
    std::wstring fontName;
    TColor fontColor = clWindowText;
    TColor backColor = clWindow;
};

// One value as first-start creation writes it.
struct TDefaultValue {
    const wchar_t *name;
    enum Kind { Text, Color } kind;
    std::wstring text;
    TColor color;
};

// The sixteen values with their defaults, in the order in which CreateReg writes them.
std::vector<TDefaultValue> DefaultValues(const TSettingsDefaults &defaults);

// When the key does not exist: creates it and writes the sixteen defaults. An existing key is left as it is.
void CreateReg(const TSettingsDefaults &defaults);
// "DIR", "PAN" or "CMD" in any letter case: whether "SaveDir", "SavePanels" or "SaveCommand" is yes.
// Any other kind is no, and nothing is read.
bool ReadSaveCheck(const std::wstring &kind);
void SaveCheck(bool dir, bool pan, bool cmd);

// The values this run may write over at exit: those it read at start (restored, or found unusable, so
// that exit mends a bad value) and those it has written since. A value the start never reached, because
// an earlier step failed or its choice was off, keeps what it holds.
class TValuesInHand {
public:
    void Reached(const std::wstring &name) { reached_.insert(name); }
    void Failed(const std::wstring &name) { failed_.insert(name); }
    void Written(const std::wstring &name) {
        reached_.insert(name);
        failed_.erase(name);
    }
    // The value may be written over.
    bool Has(const std::wstring &name) const { return reached_.count(name) != 0; }
    // The value was read, and read well, or written since.
    bool Usable(const std::wstring &name) const { return Has(name) && failed_.count(name) == 0; }

private:
    std::set<std::wstring> reached_, failed_;
};

enum class TPosValue { Top, Left, Width, Height };
struct TWindowPos {
    int top, left, width, height;
};
// Writes "Top", "Left", "Width" and "Height"; with inHand and onlyInHand, only those in hand.
void SaveRegPos(const TWindowPos &pos, TValuesInHand *inHand = nullptr, bool onlyInHand = false);
// Reads "Top", "Left", "Width" and "Height" in this order and hands each to apply before the next is
// read, so a bad value leaves the ones before it applied and the ones after it not.
void LoadRegPos(const std::function<void(TPosValue, int)> &apply, TValuesInHand *inHand = nullptr);

// The panels' view styles as stored: exactly "vsList" is the brief view, any other text the full view.
std::wstring PanelStyleText(bool brief);
bool IsBriefStyle(const std::wstring &text);

// What the save-on-exit choices keep of the two panels.
struct TPanelsState {
    std::wstring leftDirectory, rightDirectory;
    bool leftBrief = false, rightBrief = false;
};
// Writes the directories when "SaveDir" is yes and the view styles when "SavePanels" is yes. With
// onlyInHand (at exit), only the values in hand are written, and a group with none is not even asked for.
void SavePanelsState(const TPanelsState &state, TValuesInHand *inHand = nullptr, bool onlyInHand = false);

} // namespace config
