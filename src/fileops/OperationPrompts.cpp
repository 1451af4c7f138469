#include "fileops/OperationPrompts.h"

#include <cstring>

#include "fileops/PathRules.h"
#include "ui/MessageBox.h"

namespace fileops {

namespace {

constexpr int kYesToAll = 100;

std::wstring NameOf(const std::wstring &path) { return path.substr(path.rfind(L'\\') + 1); }

// Appends a word-aligned string (or the ordinal form of a class) to a dialog template.
void Put(std::vector<WORD> &out, const std::wstring &text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void Align(std::vector<WORD> &out) {
    if (out.size() % 2)
        out.push_back(0);
}

void PutItem(std::vector<WORD> &out, DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
             const std::wstring &text) {
    Align(out);
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    const WORD *raw = reinterpret_cast<const WORD *>(&item);
    out.insert(out.end(), raw, raw + sizeof item / sizeof(WORD));
    out.push_back(0xFFFF);
    out.push_back(cls);
    Put(out, text);
    out.push_back(0); // no creation data
}

INT_PTR CALLBACK FourWayProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        HWND owner = GetWindow(dialog, GW_OWNER);
        RECT box, around;
        GetWindowRect(dialog, &box);
        if (owner)
            GetWindowRect(owner, &around);
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
        SetWindowPos(dialog, nullptr, (around.left + around.right - (box.right - box.left)) / 2,
                     (around.top + around.bottom - (box.bottom - box.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

// A box with the shell's four answers: "Yes", "Yes to All", "No", "Cancel" (Escape too).
TReadOnlyAnswer AskFourWay(HWND owner, const std::wstring &caption, const std::wstring &text) {
    std::vector<WORD> t;
    DLGTEMPLATE head{};
    head.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    head.cdit = 5;
    head.cx = 250;
    head.cy = 86;
    const WORD *raw = reinterpret_cast<const WORD *>(&head);
    t.insert(t.end(), raw, raw + sizeof head / sizeof(WORD));
    t.push_back(0); // no menu
    t.push_back(0); // the standard class
    Put(t, caption);
    t.push_back(8);
    Put(t, L"MS Shell Dlg");
    PutItem(t, SS_LEFT | SS_NOPREFIX, 10, 10, 230, 44, 0xFFFF, 0x0082, text);
    PutItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 62, 52, 14, IDYES, 0x0080, L"&Yes");
    PutItem(t, BS_PUSHBUTTON | WS_TABSTOP, 68, 62, 52, 14, kYesToAll, 0x0080, L"Yes to &All");
    PutItem(t, BS_PUSHBUTTON | WS_TABSTOP, 126, 62, 52, 14, IDNO, 0x0080, L"&No");
    PutItem(t, BS_PUSHBUTTON | WS_TABSTOP, 184, 62, 52, 14, IDCANCEL, 0x0080, L"Cancel");
    Align(t);
    INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE *>(t.data()),
                                             owner, FourWayProc, 0);
    switch (answer) {
    case IDYES:
        return roYes;
    case kYesToAll:
        return roYesToAll;
    case IDNO:
        return roNo;
    default:
        return roCancel;
    }
}

} // namespace

TReplaceAnswer AskReplace(HWND owner, const std::wstring &target) {
    DWORD attributes = GetFileAttributesW(LongPath(target).c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return TWindowPrompts(owner).AskReplace(target, folder);
}

TReplaceAnswer TWindowPrompts::AskReplace(const std::wstring &target, bool folder) {
    std::wstring name = NameOf(target);
    // The shell's own words for the same question.
    std::wstring text =
        folder ? L"This folder already contains a folder named '" + name +
                     L"'.\n\nIf the files in the destination folder have the same names as files in the\nselected "
                     L"folder they will be replaced. Do you still want to move or copy\nthe folder?"
               : L"This folder already contains a file called '" + name + L"'.\n\nDo you want to replace it?";
    switch (ui::ShowMessage(owner_, text, L"Confirm file overwrite", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return raReplace;
    case IDNO:
        return raSkip;
    default:
        return raCancel;
    }
}

TReadOnlyAnswer TWindowPrompts::AskReadOnly(const std::wstring &path, bool replacing) {
    std::wstring name = NameOf(path);
    if (replacing)
        return AskFourWay(owner_, L"Confirm File Replace",
                          L"This folder already contains a read-only file named '" + name +
                              L"'.\n\nDo you want to replace it?");
    return AskFourWay(owner_, L"Confirm File Delete",
                      L"The file '" + name + L"' is a read-only file.\n\nAre you sure you want to delete it?");
}

bool TWindowPrompts::ConfirmDelete(const std::vector<std::wstring> &items) {
    std::wstring text = items.size() == 1 ? L"Are you sure you want to delete '" + items[0] + L"'?"
                                          : L"Are you sure you want to delete these " +
                                                std::to_wstring(items.size()) + L" items?";
    for (size_t i = 0; items.size() > 1 && i < items.size() && i < 10; ++i)
        text += L"\n'" + items[i] + L"'";
    return ui::ShowMessage(owner_, text, L"Confirm file deletion", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace fileops
