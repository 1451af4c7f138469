#pragma once
#include <string>
#include <vector>

#include "filelist/DriveLabels.h"
#include "ui/Controls.h"

namespace filelist {

// The drop-down list of the system's drives: letter and colon, a picture of the drive type, and the
// volume name in brackets (fixed, CD-ROM and RAM drives) or the network share (network drives). The list
// and the pictures are there at once; the names follow as they are read in the background.
class TDriveComboBox : public ui::TComboBox {
public:
    void Create(HWND parent, int id);
    // The same box, its window made at first use (see TComboBox); the drives are read at once.
    void CreateOnFirstUse(HWND parent, int id);
    // Reads the drives again (letters in order, with their pictures and names). A box not made yet knows
    // only the drive it shows until it is made.
    void BuildList();
    // The current drive letter, lower case; setting a different one raises OnChange, and so does a
    // different choice the user confirms in the list (Enter, or a click on an entry), once the list has
    // closed. Browsing the list and cancelling changes nothing (OnChange is this box's change event).
    wchar_t Drive() const { return drive_; }
    void SetDrive(wchar_t letter);
    // For a key handler that lists the drive itself: the letter becomes the current drive, or the entry
    // the user has moved to does (0), without raising OnChange.
    void AcceptDrive(wchar_t letter = 0);

private:
    struct Entry {
        wchar_t letter;
        UINT type;
        int icon; // -1 until first drawn
        std::wstring text;
    };
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void AfterWindowMade() override;
    void PaintField(HDC dc, const RECT &field) override;
    void Fill();
    void StandInFor(wchar_t letter);
    // The names read so far go into the entries, and into the box's list too unless `intoBox` is false.
    void TakeDriveNames(bool intoBox = true);
    void Draw(const DRAWITEMSTRUCT &item);
    int IndexOf(wchar_t letter) const;
    // The letter of the entry the box shows, 0 for none.
    wchar_t ShownDrive() const;
    void ShowCurrentDrive();

    std::vector<Entry> entries_;
    wchar_t drive_ = 0;
    bool dropped_ = false;
    bool chosenWhileDropped_ = false;
    TDriveNameReader names_;
};

// The text of a drive's entry, e.g. "c: [SYSTEM]" or "x: \\server\share".
std::wstring DriveEntryText(wchar_t letter, UINT driveType, const std::wstring &volumeOrShare);

} // namespace filelist
