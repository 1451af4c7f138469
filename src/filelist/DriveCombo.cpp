#include "filelist/DriveCombo.h"

#include <shellapi.h>

#include <cwctype>

#include "filelist/ShellInfo.h"
#include "ui/Handles.h"
#include "ui/ScreenScale.h"

namespace filelist {

namespace {
// Posted by the name reader each time a drive's name has been read.
constexpr UINT kDriveNameRead = WM_APP + 10;
} // namespace

std::wstring DriveEntryText(wchar_t letter, UINT driveType, const std::wstring &volumeOrShare) {
    std::wstring text{static_cast<wchar_t>(std::towlower(letter)), L':'};
    switch (driveType) {
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        text += L" [" + volumeOrShare + L"]";
        break;
    case DRIVE_REMOTE:
        if (!volumeOrShare.empty()) text += L" " + volumeOrShare;
        break;
    default:
        break;
    }
    return text;
}

namespace {
constexpr DWORD kDriveBoxStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

// The field's height is set before the box is made: a stand-in is then made as high as the box.
void TDriveComboBox::Create(HWND parent, int id) {
    SetItemHeights(13, 16);
    ui::TComboBox::Create(parent, id, kDriveBoxStyle);
    Fill();
}

void TDriveComboBox::CreateOnFirstUse(HWND parent, int id) {
    SetItemHeights(13, 16);
    ui::TComboBox::CreateOnFirstUse(parent, id, kDriveBoxStyle);
    Fill();
}

void TDriveComboBox::Fill() {
    OnDrawItem = [this](const DRAWITEMSTRUCT &item) { Draw(item); };
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    drive_ = static_cast<wchar_t>(std::towlower(current[0]));
    // A stand-in reads its drive when told which one to show, or else when it first paints.
    if (!WindowMade()) return;
    BuildList();
    ShowCurrentDrive();
}

// The stand-in shows one drive, so it reads that one alone: the list of every drive is read when the box is
// made (under Wine, asking for the drives walks the system's device folder).
void TDriveComboBox::StandInFor(wchar_t letter) {
    if (IndexOf(letter) >= 0) return;
    wchar_t root[] = {letter, L':', L'\\', 0};
    UINT type = GetDriveTypeW(root);
    entries_.assign(1, Entry{letter, type, -1, DriveEntryText(letter, DRIVE_UNKNOWN, L"")});
    names_.Start(Handle(), kDriveNameRead, {{letter, type}});
}

void TDriveComboBox::BuildList() {
    // Names read already stay shown while they are read again.
    std::vector<Entry> before = std::move(entries_);
    entries_.clear();
    if (WindowMade()) Clear();
    std::vector<TDriveNameReader::TDrive> drives;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        wchar_t letter = static_cast<wchar_t>(L'a' + i);
        wchar_t root[] = {letter, L':', L'\\', 0};
        UINT type = GetDriveTypeW(root);
        Entry e{letter, type, -1, DriveEntryText(letter, DRIVE_UNKNOWN, L"")};
        for (const Entry &old : before)
            if (old.letter == letter && old.type == type) e.text = old.text;
        if (WindowMade()) AddItem(e.text);
        entries_.push_back(std::move(e));
        drives.push_back({letter, type});
    }
    if (drive_) ShowCurrentDrive();
    names_.Start(Handle(), kDriveNameRead, std::move(drives));
}

// The box made at first use reads every drive, shows the current one, and hears of their names.
void TDriveComboBox::AfterWindowMade() {
    // What the stand-in's reader has found so far goes into its entry first.
    TakeDriveNames(false);
    BuildList();
    SetItemIndex(IndexOf(drive_));
}

// The stand-in shows the current drive as the box's own field would.
void TDriveComboBox::PaintField(HDC dc, const RECT &field) {
    StandInFor(drive_);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(IndexOf(drive_));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_COMBOBOXEDIT;
    item.hwndItem = Handle();
    item.hDC = dc;
    item.rcItem = field;
    Draw(item);
}

// Names read in the background complete their entries; the current choice stays as it is.
void TDriveComboBox::TakeDriveNames(bool intoBox) {
    intoBox = intoBox && WindowMade();
    int current = intoBox ? ItemIndex() : -1;
    for (const auto &found : names_.Take()) {
        int index = IndexOf(found.letter);
        if (index < 0) continue;
        Entry &e = entries_[index];
        e.text = DriveEntryText(e.letter, e.type, found.name);
        if (!intoBox) continue;
        SendMessageW(Handle(), CB_DELETESTRING, index, 0);
        SendMessageW(Handle(), CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(e.text.c_str()));
    }
    if (current >= 0) SetItemIndex(current);
    InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TDriveComboBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDriveNameRead) {
        TakeDriveNames();
        return 0;
    }
    if (msg == WM_DESTROY) names_.Stop();
    return ui::TComboBox::OnMessage(msg, wParam, lParam);
}

int TDriveComboBox::IndexOf(wchar_t letter) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].letter == letter) return static_cast<int>(i);
    return -1;
}

void TDriveComboBox::SetDrive(wchar_t letter) {
    letter = static_cast<wchar_t>(std::towlower(letter));
    bool changed = letter != drive_;
    drive_ = letter;
    ShowCurrentDrive();
    if (changed && OnChange) OnChange();
}

void TDriveComboBox::AcceptDrive(wchar_t letter) {
    if (!letter) letter = ShownDrive();
    if (!letter) return;
    drive_ = static_cast<wchar_t>(std::towlower(letter));
    ShowCurrentDrive();
}

// A box not made yet shows the current drive.
wchar_t TDriveComboBox::ShownDrive() const {
    if (!WindowMade()) return drive_;
    int index = ItemIndex();
    return index >= 0 && index < static_cast<int>(entries_.size()) ? entries_[index].letter : 0;
}

void TDriveComboBox::ShowCurrentDrive() {
    if (!WindowMade()) {
        StandInFor(drive_);
        Invalidate();
        return;
    }
    if (ShownDrive() != drive_) SetItemIndex(IndexOf(drive_));
}

// The entry the user moves to in the list is only shown; it becomes the drive when the user confirms it.
// The change event follows the list's closing, so that the side lists the new root exactly once.
bool TDriveComboBox::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    if (msg != WM_COMMAND) return ui::TComboBox::OnReflect(msg, wParam, lParam, result);
    result = 0;
    switch (HIWORD(wParam)) {
    case CBN_DROPDOWN:
        dropped_ = true;
        chosenWhileDropped_ = false;
        return true;
    case CBN_SELCHANGE:
        return true;
    case CBN_SELENDOK:
        if (dropped_ && ShownDrive() && ShownDrive() != drive_) {
            drive_ = ShownDrive();
            chosenWhileDropped_ = true;
        }
        return true;
    case CBN_SELENDCANCEL:
        ShowCurrentDrive();
        return true;
    case CBN_CLOSEUP:
        dropped_ = false;
        ShowCurrentDrive();
        if (OnCloseUp) OnCloseUp();
        if (chosenWhileDropped_) {
            chosenWhileDropped_ = false;
            if (OnChange) OnChange();
        }
        return true;
    case CBN_KILLFOCUS:
        // An entry moved to in the closed box but never confirmed is not the drive.
        if (!dropped_) ShowCurrentDrive();
        return true;
    default:
        return ui::TComboBox::OnReflect(msg, wParam, lParam, result);
    }
}

void TDriveComboBox::Draw(const DRAWITEMSTRUCT &item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) return;
    // Drawn into a window not yet on the screen (the box draws its choice as it is set), nothing shows.
    if (!IsWindowVisible(Handle())) return;
    Entry &e = entries_[item.itemID];
    // The picture is looked up when first drawn, so that creating the box never waits for the shell;
    // while the shell loads its lists, the same picture comes from the quick list.
    HIMAGELIST images = nullptr;
    int icon = ShellPicturesReady() ? -1 : QuickDriveTypePicture(e.type);
    if (icon >= 0) {
        images = QuickPictureList();
    } else {
        if (e.icon < 0) e.icon = DriveTypeIcon(e.type);
        images = SystemImageList(true);
        icon = e.icon;
    }
    // The system's small pictures grow with the screen's scale; the text starts after the picture.
    int iconWidth = 16, iconHeight = 16;
    ImageList_GetIconSize(images, &iconWidth, &iconHeight);
    ImageList_Draw(images, icon, dc, r.left + 2, r.top + (r.bottom - r.top - iconHeight) / 2, ILD_TRANSPARENT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = r;
    text.left += 2 + iconWidth + ui::Scaled(4);
    DrawTextW(dc, e.text.c_str(), static_cast<int>(e.text.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace filelist
