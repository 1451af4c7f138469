#include "config/SettingsStore.h"

#include <cwctype>

#include "config/SettingsKey.h"

namespace config {

std::vector<TDefaultValue> DefaultValues(const TSettingsDefaults &d) {
    using K = TDefaultValue;
    return {
        {L"LeftDirectory", K::Text, L"C:\\", 0},
        {L"RightDirectory", K::Text, L"C:\\", 0},
        {L"Top", K::Text, std::to_wstring(d.top), 0},
        {L"Left", K::Text, std::to_wstring(d.left), 0},
        {L"Width", K::Text, std::to_wstring(d.width), 0},
        {L"Height", K::Text, std::to_wstring(d.height), 0},
        {L"QSAltLetters", K::Text, L"True", 0},
        {L"QSCtrlAltLetters", K::Text, L"False", 0},
        {L"SaveDir", K::Text, L"True", 0},
        {L"SavePanels", K::Text, L"False", 0},
        {L"SaveCommand", K::Text, L"False", 0},
        {L"LeftPanelStyle", K::Text, PanelStyleText(false), 0},
        {L"RightPanelStyle", K::Text, PanelStyleText(false), 0},
        {L"FileListFont", K::Text, d.fontName, 0},
        {L"FontColor", K::Color, L"", d.fontColor},
        {L"BackColor", K::Color, L"", d.backColor},
    };
}

void CreateReg(const TSettingsDefaults &defaults) {
    if (TSettingsKey::Exists())
        return;
    TSettingsKey key = TSettingsKey::Create();
    for (const TDefaultValue &v : DefaultValues(defaults)) {
        if (v.kind == TDefaultValue::Color)
            key.WriteColor(v.name, v.color);
        else
            key.WriteString(v.name, v.text);
    }
}

bool ReadSaveCheck(const std::wstring &kind) {
    std::wstring upper = kind;
    for (wchar_t &c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    const wchar_t *name = upper == L"DIR"   ? L"SaveDir"
                          : upper == L"PAN" ? L"SavePanels"
                          : upper == L"CMD" ? L"SaveCommand"
                                            : nullptr;
    if (!name)
        return false;
    return TSettingsKey().ReadBool(name);
}

void SaveCheck(bool dir, bool pan, bool cmd) {
    TSettingsKey key;
    key.WriteBool(L"SaveDir", dir);
    key.WriteBool(L"SavePanels", pan);
    key.WriteBool(L"SaveCommand", cmd);
}

namespace {
const wchar_t *const kPosNames[] = {L"Top", L"Left", L"Width", L"Height"};

// Whether a value may be written now, and a note that it has been.
bool MayWrite(const TValuesInHand *inHand, bool onlyInHand, const wchar_t *name) {
    return !onlyInHand || !inHand || inHand->Has(name);
}
void NoteWritten(TValuesInHand *inHand, const wchar_t *name) {
    if (inHand)
        inHand->Written(name);
}
} // namespace

void SaveRegPos(const TWindowPos &pos, TValuesInHand *inHand, bool onlyInHand) {
    TSettingsKey key;
    const int values[] = {pos.top, pos.left, pos.width, pos.height};
    for (int i = 0; i < 4; ++i) {
        if (!MayWrite(inHand, onlyInHand, kPosNames[i]))
            continue;
        key.WriteInteger(kPosNames[i], values[i]);
        NoteWritten(inHand, kPosNames[i]);
    }
}

void LoadRegPos(const std::function<void(TPosValue, int)> &apply, TValuesInHand *inHand) {
    TSettingsKey key;
    const TPosValue which[] = {TPosValue::Top, TPosValue::Left, TPosValue::Width, TPosValue::Height};
    for (int i = 0; i < 4; ++i) {
        if (inHand)
            inHand->Reached(kPosNames[i]);
        int value;
        try {
            value = key.ReadInteger(kPosNames[i]);
        } catch (...) {
            if (inHand)
                inHand->Failed(kPosNames[i]);
            throw;
        }
        apply(which[i], value);
    }
}

std::wstring PanelStyleText(bool brief) {
    return brief ? L"vsList" : L"vsReport";
}

bool IsBriefStyle(const std::wstring &text) {
    return text == L"vsList";
}

void SavePanelsState(const TPanelsState &state, TValuesInHand *inHand, bool onlyInHand) {
    TSettingsKey key;
    auto group = [&](const wchar_t *kind, const wchar_t *leftName, const std::wstring &left, const wchar_t *rightName,
                     const std::wstring &right) {
        bool writeLeft = MayWrite(inHand, onlyInHand, leftName), writeRight = MayWrite(inHand, onlyInHand, rightName);
        if ((!writeLeft && !writeRight) || !ReadSaveCheck(kind))
            return;
        if (writeLeft) {
            key.WriteString(leftName, left);
            NoteWritten(inHand, leftName);
        }
        if (writeRight) {
            key.WriteString(rightName, right);
            NoteWritten(inHand, rightName);
        }
    };
    group(L"DIR", L"LeftDirectory", state.leftDirectory, L"RightDirectory", state.rightDirectory);
    group(L"PAN", L"LeftPanelStyle", PanelStyleText(state.leftBrief), L"RightPanelStyle",
          PanelStyleText(state.rightBrief));
}

} // namespace config
