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

void SaveRegPos(const TWindowPos &pos) {
    TSettingsKey key;
    key.WriteInteger(L"Top", pos.top);
    key.WriteInteger(L"Left", pos.left);
    key.WriteInteger(L"Width", pos.width);
    key.WriteInteger(L"Height", pos.height);
}

void LoadRegPos(const std::function<void(TPosValue, int)> &apply) {
    TSettingsKey key;
    apply(TPosValue::Top, key.ReadInteger(L"Top"));
    apply(TPosValue::Left, key.ReadInteger(L"Left"));
    apply(TPosValue::Width, key.ReadInteger(L"Width"));
    apply(TPosValue::Height, key.ReadInteger(L"Height"));
}

std::wstring PanelStyleText(bool brief) {
    return brief ? L"vsList" : L"vsReport";
}

bool IsBriefStyle(const std::wstring &text) {
    return text == L"vsList";
}

void SavePanelsState(const TPanelsState &state) {
    TSettingsKey key;
    if (ReadSaveCheck(L"DIR")) {
        key.WriteString(L"LeftDirectory", state.leftDirectory);
        key.WriteString(L"RightDirectory", state.rightDirectory);
    }
    if (ReadSaveCheck(L"PAN")) {
        key.WriteString(L"LeftPanelStyle", PanelStyleText(state.leftBrief));
        key.WriteString(L"RightPanelStyle", PanelStyleText(state.rightBrief));
    }
}

} // namespace config
