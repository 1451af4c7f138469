#include "app/MainForm.h"

#include <objbase.h>
#include <shellapi.h>

#include "app/CommandIds.h"
#include "app/StartupTrace.h"
#include "app/Version.h"
#include "filelist/ReadAhead.h"
#include "viewer/ViewForm.h"
#include "help/HelpCommands.h"
#include "help/PrintCommand.h"
#include "search/SearchForm.h"
#include "ui/Application.h"
#include "ui/ScreenScale.h"

namespace app {

namespace {
constexpr int kLeftIds = 100, kRightIds = 200, kHistoryCmdBoxId = 300;
constexpr int kShowMenuPosition = 3;
// In 96-DPI pixels, scaled to the screen's where they are laid out.
constexpr int kCommandPanelHeight = 21, kPromptWidth = 223, kSplitterWidth = 2;
// Posted by the first showing: the held listings start once the window is on the screen.
constexpr UINT WM_START_LISTINGS = WM_APP + 1;

} // namespace

void InitApplication() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    ui::Application().SetTitle(L"Zelvor");
    ui::Application().SetHelpFile(help::HelpFileBesideExecutable());
    ui::Application().SetShortcuts(
        ui::TShortcutTable::FromResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS)));
}

TMainForm::TMainForm() {
    ShellExecuteVerb = [](HWND owner, const std::wstring &verb, const std::wstring &file) {
        ShellExecuteW(owner, verb.c_str(), file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
}

TMainForm::~TMainForm() { GradientCaption1.OwnerDestroying(); }

void TMainForm::Create() {
    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
    TraceStartup(L"menu loaded");
    if (std::optional<config::TWindowPos> saved = SettingsCommands.SavedPlacement())
        SetBounds(saved->left, saved->top, saved->width, saved->height);
    TraceStartup(L"saved placement read");
    CreateForm(L"Zelvor - version " ZELVOR_VERSION_TEXT, 813, 405, true, menu_);
    TraceStartup(L"form window created");
    CreateCaption();
    TraceStartup(L"caption created");
    CreateSides();
    TraceStartup(L"sides");
    FileCommands.CreateWindows();
    CommandLine.CreateWindows();
    TraceStartup(L"other windows");
    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    OnClose = [this] { FormClose(); };
    BindCommand(IDM_QUIT1, [this] { Quit1Click(); });
    BindShowAndMarkCommands();
    BindCommand(IDM_CHANGE1, [this] { FileCommands.Change1Click(); });
    BindCommand(IDM_OPTIONS1, [this] { SettingsCommands.Options1Click(); });
    BindCommand(IDM_SAVEPOSITION1, [this] { SettingsCommands.Saveposition1Click(); });
    BindCommand(IDM_RUNDOS1, [this] { CommandLine.RunDOS1Click(); });
    BindCommand(IDM_INDEX1, [this] { Index1Click(); });
    BindCommand(IDM_FILEOPERATIONS1, [this] { FileOperations1Click(); });
    BindCommand(IDM_KEYBOARD1, [this] { Keyboard1Click(); });
    BindCommand(IDM_PRINT1, [this] { Print1Click(); });
    BindSearchCommands();
    BindCommand(IDM_QUICKVIEW1, [this] { Quickview1Click(); });
    BindSystemCommands();
}

void TMainForm::CreateCaption() {
    GradientCaption1.Create(*this);
    GradientCaption1.CompanyText.SetFontKind(caption::fkSystemBI);
    GradientCaption1.AppNameText.SetFontKind(caption::fkSystemB);
    GradientCaption1.CaptionText.SetCaption(L"Zelvor - version " ZELVOR_VERSION_TEXT);
    GradientCaption1.SetColor(RGB(128, 0, 0));
    GradientCaption1.Loaded();
}

void TMainForm::CreateSides() {
    HFONT font = FormFont();
    // Laid out before they are made, the windows are made in their places.
    FormResize();
    Left.Create(*this, Right, Handle(), kLeftIds);
    TraceStartup(L"left side created");
    Splitter1.Create(Handle());
    Right.Create(*this, Left, Handle(), kRightIds);
    TraceStartup(L"right side created");
    CMDPanel.Create(Handle());
    CMDPanel.SetBevelInner(ui::TBevel::bvLowered);
    CMDTitlePanel.Create(CMDPanel.Handle());
    CMDTitlePanel.SetAlignment(ui::TAlignment::taRightJustify);
    CMDTitlePanel.SetEllipsis(ui::TEllipsis::elStart); // a long path keeps its current folder in view
    HistoryCmdBox.CreateOnFirstUse(CMDPanel.Handle(), kHistoryCmdBoxId, CBS_DROPDOWN | CBS_AUTOHSCROLL);
    // A command longer than the system runs is refused whole when run; cut by the field, it would run cut.
    HistoryCmdBox.RemoveTextLimit();
    for (TSide *side : {&Left, &Right}) {
        // Nothing is listed until the window is shown: the build-time directory, the saved settings and the
        // drive boxes each set the directory, and only the last one is read (StartListings).
        side->FileView.BeginUpdate();
        for (ui::TWindow *w : std::initializer_list<ui::TWindow *>{&side->Panel, &side->DrivePanel, &side->DriveCombo,
                                                                   &side->TitlePanel, &side->FileView, &side->QMemo})
            w->SetFont(font);
        side->FileView.SetViewStyle(filelist::vsReport);
        side->FileView.SetAcceptFiles(true);
        side->FileView.SetFileTypes(filelist::kAllFileTypes);
        side->FileView.SetMask(L"*.*");
        side->FileView.SetViewColumns(filelist::kDefaultViewColumns);
        side->FileView.SetDirectory(L"c:\\");
    }
    CMDPanel.SetFont(font);
    CMDTitlePanel.SetFont(font);
    HistoryCmdBox.SetFont(font);
    BindEvents(Left, true);
    BindEvents(Right, false);
    Splitter1.OnMoved = [this](int delta) {
        RECT r = Left.Panel.Bounds();
        const int splitter = ui::Scaled(kSplitterWidth);
        int width = std::max(0, std::min<int>(r.right - r.left + delta, ClientWidth() - splitter));
        int height = ClientHeight() - ui::Scaled(kCommandPanelHeight);
        Left.Panel.SetBounds(0, 0, width, height);
        Splitter1.SetBounds(width, 0, splitter, height);
        Right.Panel.SetBounds(width + splitter, 0, ClientWidth() - width - splitter, height);
    };
}

void TMainForm::BindEvents(TSide &side, bool left) {
    side.FileView.OnClick = [this, left] { left ? LeftFileViewClick() : RightFileViewClick(); };
    side.FileView.OnDblClick = [this, left] { left ? LeftFileViewDblClick() : RightFileViewDblClick(); };
    side.FileView.OnKeyDown = [this, left](WORD &key, ui::TShiftState shift) {
        left ? LeftFileViewKeyDown(key, shift) : RightFileViewKeyDown(key, shift);
    };
    side.FileView.OnKeyUp = [this, left](WORD &key, ui::TShiftState shift) {
        left ? LeftFileViewKeyUp(key, shift) : RightFileViewKeyUp(key, shift);
    };
    side.FileView.OnMouseUp = [this, left](ui::TMouseButton b, ui::TShiftState s, int x, int y) {
        left ? LeftFileViewMouseUp(b, s, x, y) : RightFileViewMouseUp(b, s, x, y);
    };
    side.FileView.OnCursorMove = [this, &side] { ViewCommands.CursorMoved(side); };
    side.QMemo.OnKeyUp = [this, left](WORD &key, ui::TShiftState shift) {
        left ? LeftQMemoKeyUp(key, shift) : RightQMemoKeyUp(key, shift);
    };
    // Tab belongs to the pane's release handler; pressed, it would only make the read-only text beep.
    side.QMemo.OnKeyDown = [](WORD &key, ui::TShiftState shift) {
        if (key == VK_TAB && (shift & ui::kModifierMask) == 0) key = 0;
    };
    side.TitlePanel.OnClick = [this, left] { left ? LeftTitlePanelClick() : RightTitlePanelClick(); };
    side.DriveCombo.OnChange = [this, left] { left ? LeftDriveComboChange() : RightDriveComboChange(); };
    side.DriveCombo.OnKeyDown = [this, left](WORD &key, ui::TShiftState shift) {
        left ? LeftDriveComboKeyDown(key, shift) : RightDriveComboKeyDown(key, shift);
    };
}

sysinfo::TSysFacts &TMainForm::MainSysInfo() { return sysFacts_.Get(); }

viewer::TViewForm &TMainForm::ViewForm() { return viewForm_.Get(); }

void TMainForm::ViewFile(const std::wstring &path) { ViewForm().ViewFile(path); }

TSide &TMainForm::ActiveSide() { return Left.IsActive() ? Left : Right; }

void TMainForm::RelistBoth() {
    Left.SetDirectory(Left.Directory());
    Right.SetDirectory(Right.Directory());
}

void TMainForm::PrepareMarkImage() {
    StateImageList.reset(ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 1));
    HBITMAP mark = LoadBitmapW(GetModuleHandleW(nullptr), L"YESBMP");
    if (mark) {
        ImageList_Add(StateImageList.get(), mark, mark);
        DeleteObject(mark);
    }
    Left.FileView.SetStateImages(StateImageList.get());
    Right.FileView.SetStateImages(StateImageList.get());
}

void TMainForm::FormShow() {
    // However the restore ends, failed steps included, the panels are listed once the window shows.
    struct StartAfterShow {
        HWND form;
        ~StartAfterShow() { PostMessageW(form, WM_START_LISTINGS, 0, 0); }
    } startAfterShow{Handle()};
    TraceStartup(L"FormShow begins");
    PrepareMarkImage();
    SettingsCommands.RestoreBeforeLayout();
    TraceStartup(L"restore (registry, font, history)");
    FormResize();
    Left.TitlePanel.SetColor(kActiveTitleColor);
    Left.TitlePanel.SetFontColor(RGB(255, 255, 255));
    Right.TitlePanel.SetColor(kInactiveTitleColor);
    Right.TitlePanel.SetFontColor(RGB(255, 255, 255));
    Right.DriveCombo.SetDrive(Right.Directory().empty() ? L'c' : Right.Directory()[0]);
    Left.DriveCombo.SetDrive(Left.Directory().empty() ? L'c' : Left.Directory()[0]);
    TraceStartup(L"layout and drive boxes");
    SettingsCommands.RestoreDirectoriesAgain();
    Left.TitlePanel.SetCaption(Left.Directory());
    Right.TitlePanel.SetCaption(Right.Directory());
    SetPrompt(Left.Directory());
    Left.ColourActive();
    Left.FocusAndPlaceCursor();
    TraceStartup(L"FormShow ends");
    ListSidesReadInFull();
}

// A saved folder that the read-ahead has read in full, and that is small, is listed before the window
// shows: the window then appears with its rows rather than filling a moment later. A bigger one, or one
// still being read, is listed once the window is on the screen, so that the window is not held back.
void TMainForm::ListSidesReadInFull() {
    constexpr size_t kMostEntriesBeforeShowing = 2000;
    // The left side first, as after showing.
    for (TSide *side : {&Left, &Right}) {
        if (!side->FileView.Updating()) continue;
        if (!filelist::ReadAheadInFull(side->Directory(), kMostEntriesBeforeShowing)) return;
        // Files need the shell's own pictures; folders have theirs at once.
        if (!filelist::ShellPicturesReady() && !filelist::ReadAheadFoldersOnly(side->Directory())) return;
        ListHeldSide(*side);
        if (!Handle()) return;
    }
}

void TMainForm::ListHeldSide(TSide &side) {
    if (!side.FileView.Updating()) return;
    if (!listingsBegun_) {
        listingsBegun_ = true;
        TraceStartup(L"listings begin");
    }
    side.FileView.EndUpdate();
    if (!Handle()) return;
    if (GetFocus() == side.FileView.Handle()) side.FileView.PlaceCursor();
    TraceStartup(&side == &Left ? L"left side listed" : L"right side listed");
}

// The held listings of start-up, each side read once with its final settings: the active left side first,
// so its rows fill while the window already takes keys. The first row gets the cursor once it is sorted.
// No paint is forced first: the listing lets the loop run every 25 ms, so a big folder's window paints at
// once, and a small one paints once, with its rows.
void TMainForm::StartListings() {
    // A folder read ahead but not listed now is never shown later as an old snapshot.
    struct DropUnclaimed {
        ~DropUnclaimed() { filelist::DropReadAheads(); }
    } dropUnclaimed;
    TraceStartup(L"window shown");
    filelist::NeedShellPictures();
    ListHeldSide(Left);
    if (!Handle()) return;
    ListHeldSide(Right);
}

void TMainForm::FormResize() {
    const int commandHeight = ui::Scaled(kCommandPanelHeight), prompt = ui::Scaled(kPromptWidth);
    const int splitter = ui::Scaled(kSplitterWidth), gap = ui::Scaled(4);
    int width = ClientWidth(), height = ClientHeight() - commandHeight;
    int leftWidth = width / 2 - ui::Scaled(1);
    Left.Panel.SetBounds(0, 0, leftWidth, height);
    Splitter1.SetBounds(leftWidth, 0, splitter, height);
    Right.Panel.SetBounds(leftWidth + splitter, 0, width - leftWidth - splitter, height);
    CMDPanel.SetBounds(0, height, width, commandHeight);
    CMDTitlePanel.SetBounds(1, 1, prompt, commandHeight - 2);
    int panelWidth = CMDPanel.ClientWidth();
    HistoryCmdBox.SetBounds(prompt + gap, 0, panelWidth - prompt - gap, ui::Scaled(200));
}

void TMainForm::FormClose() { SettingsCommands.SaveOnClose(); }

void TMainForm::Quit1Click() { Close(); }

void TMainForm::Index1Click() { help::ShowHelpTopic(Handle(), ui::Application().HelpFile(), help::kIndexTopic); }

void TMainForm::FileOperations1Click() {
    help::ShowHelpTopic(Handle(), ui::Application().HelpFile(), help::kFileOperationsTopic);
}

void TMainForm::Keyboard1Click() { help::ShowHelpTopic(Handle(), ui::Application().HelpFile(), help::kKeyboardTopic); }

void TMainForm::Print1Click() {
    TSide &side = ActiveSide();
    int row = side.FileView.Selected();
    if (row < 0) return;
    if (side.FileView.IsFolder(row)) return;
    // The shell's buffers take no longer name; a long path goes by its short form.
    help::PrintFile(Handle(), filelist::WithinShellLimits({side.FileView.PathOf(row), L""}).file,
                    false, PrintServices);
}

void TMainForm::RunCommand(int id) {
    UINT state = GetMenuState(menu_, id, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED))) return;
    auto it = commands_.find(id);
    if (it != commands_.end() && it->second) it->second();
}

LRESULT TMainForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == GetSubMenu(menu_, kShowMenuPosition)) {
        Show1Click();
        return 0;
    }
    if (msg == WM_COMMAND && lParam == 0 && HIWORD(wParam) <= 1 && LOWORD(wParam) != IDOK &&
        LOWORD(wParam) != IDCANCEL) {
        RunCommand(LOWORD(wParam));
        return 0;
    }
    if (msg == WM_START_LISTINGS) {
        StartListings();
        return 0;
    }
    return ui::TForm::OnMessage(msg, wParam, lParam);
}

} // namespace app
