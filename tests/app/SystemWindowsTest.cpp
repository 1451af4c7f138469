#include "MainFormFixture.h"

#include <algorithm>
#include <functional>

#include "app/CommandIds.h"
#include "driver/TempDir.h"
#include "fileops/MenuAnswer.h"
#include "../sysinfo/TempMachineKey.h"

#include <optional>

namespace {

using testdriver::AnswerWhenShown;
using testdriver::PressButton;
using testdriver::PressKey;
using Texts = std::vector<std::wstring>;

// Runs an action once, from the message loop of whichever modal window is up when `ready` holds.
std::function<bool()> g_ready;
std::function<void()> g_action;
UINT_PTR g_timer = 0;

void CALLBACK WhenReadyTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_action || !g_ready || !g_ready())
        return;
    KillTimer(nullptr, g_timer);
    g_timer = 0;
    auto action = std::move(g_action);
    g_action = nullptr;
    action();
}

void WhenReady(std::function<bool()> ready, std::function<void()> action) {
    g_ready = std::move(ready);
    g_action = std::move(action);
    g_timer = SetTimer(nullptr, 0, 50, WhenReadyTimer);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring Separator() {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    return separator;
}

// A number text with the user's thousands separators taken out: "1,234 B" gives "1234 B".
std::wstring Ungrouped(std::wstring text) {
    const std::wstring separator = Separator();
    for (size_t at; !separator.empty() && (at = text.find(separator)) != std::wstring::npos;)
        text.erase(at, separator.size());
    return text;
}

// The drive's size in bytes, however large.
std::wstring TotalBytes(const wchar_t *root) {
    ULARGE_INTEGER available{}, total{}, free{};
    return GetDiskFreeSpaceExW(root, &available, &total, &free) ? std::to_wstring(total.QuadPart) : L"?";
}

class SystemWindowsTest : public MainFormTest {
protected:
    void TearDown() override {
        if (g_timer)
            KillTimer(nullptr, g_timer);
        g_timer = 0;
        g_action = nullptr;
        MainFormTest::TearDown();
    }

    bool DiskInfoUp() { return IsWindowVisible(form->DiskInfoForm().Handle()); }
    bool SysInfoUp() { return IsWindowVisible(form->SysInfoForm().Handle()); }

    // What the disk information window shows, read while it is up.
    struct DiskInfoView {
        std::wstring caption, group, total, free, label, serial, freeMem, totalPhys, freePhys, totalVirtual,
            freeVirtual, computer, user;
        RECT bounds{};
    };
    DiskInfoView ReadDiskInfo() {
        sysinfo::TDiskInfoForm &w = form->DiskInfoForm();
        DiskInfoView v;
        v.caption = TextOf(w.Handle());
        v.group = TextOf(w.GroupBoxDisk.Handle());
        v.total = TextOf(w.lbl_totalspace.Handle());
        v.free = TextOf(w.lbl_freespace.Handle());
        v.label = TextOf(w.lbl_volumelabel.Handle());
        v.serial = TextOf(w.lbl_serialnumber.Handle());
        v.freeMem = TextOf(w.lbl_freemem.Handle());
        v.totalPhys = TextOf(w.lbl_totalphys.Handle());
        v.freePhys = TextOf(w.lbl_freephys.Handle());
        v.totalVirtual = TextOf(w.lbl_totalvirtual.Handle());
        v.freeVirtual = TextOf(w.lbl_freevirtual.Handle());
        v.computer = TextOf(w.lbl_comp.Handle());
        v.user = TextOf(w.lbl_user.Handle());
        GetWindowRect(w.Handle(), &v.bounds);
        return v;
    }

    // Ctrl+L in the left panel; the window is read and then closed with the key.
    DiskInfoView CtrlL(WORD closingKey) {
        DiskInfoView seen;
        WhenReady([this] { return DiskInfoUp(); },
                  [&, closingKey] {
                      seen = ReadDiskInfo();
                      PressKey(closingKey);
                  });
        form->LeftFileView.SetFocus();
        PressKey('L', ui::ssCtrl);
        EXPECT_TRUE(testdriver::PumpUntil([this] { return !DiskInfoUp(); }));
        return seen;
    }
};

TEST_F(SystemWindowsTest, CtrlLShowsThePanelsDriveAndClosesOnEnterAndEscapeWithoutThePanelMoving) {
    form->Left.SetDirectory(L"c:\\");
    form->Left.Activate();
    // A folder under the cursor: Enter reaching the panel would open it.
    int folder = -1;
    for (int row = 0; row < form->LeftFileView.Count() && folder < 0; ++row)
        if (form->LeftFileView.IsFolder(row) && form->LeftFileView.Caption(row) != L"..")
            folder = row;
    ASSERT_GE(folder, 0);
    form->LeftFileView.SetSelected(folder);
    form->HistoryCmdBox.SetText(L"typed");

    wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxLength = 0, flags = 0, spc = 0, bps = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(
        GetVolumeInformationW(L"C:\\", label, MAX_PATH + 1, &serial, &maxLength, &flags, fileSystem, MAX_PATH + 1));
    ASSERT_TRUE(GetDiskFreeSpaceW(L"C:\\", &spc, &bps, &freeClusters, &clusters));
    wchar_t serialText[32] = {};
    swprintf(serialText, 32, L"0x00000000%08X", static_cast<unsigned>(serial));

    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        DiskInfoView v = CtrlL(key);
        EXPECT_EQ(v.caption, TextOf(form->Handle()));
        EXPECT_EQ(v.group, std::wstring(L"Fixed C: (") + fileSystem + L")");
        EXPECT_EQ(v.label, label);
        EXPECT_EQ(v.serial, serialText);
        EXPECT_EQ(Ungrouped(v.total), TotalBytes(L"C:\\") + L" \u0411");
        EXPECT_EQ(v.free.substr(v.free.size() - 2), L" \u0411");
        EXPECT_EQ(v.freeMem.substr(v.freeMem.size() - 2), L" %");
        EXPECT_EQ(v.computer, form->MainSysInfo().uiComputer());
        // Centred over the main window.
        RECT main{};
        GetWindowRect(form->Handle(), &main);
        EXPECT_EQ(v.bounds.left, main.left + (main.right - main.left) / 2 - (v.bounds.right - v.bounds.left) / 2);
        EXPECT_EQ(v.bounds.top, main.top + (main.bottom - main.top) / 2 - (v.bounds.bottom - v.bounds.top) / 2);
        testdriver::Pump(100);
        EXPECT_EQ(form->Left.Directory(), L"c:\\") << key;
        EXPECT_EQ(form->LeftFileView.Selected(), folder) << key;
        EXPECT_EQ(form->HistoryCmdBox.Text(), L"typed") << key;
        EXPECT_TRUE(form->LeftFileView.Focused()) << key;
    }
}

TEST_F(SystemWindowsTest, CtrlLOnADriveLetterWithoutADriveShowsMinusOneAndQuestionMarks) {
    wchar_t missing = 0;
    for (wchar_t letter = L'Q'; letter <= L'Z' && !missing; ++letter)
        if (GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()) <= DRIVE_NO_ROOT_DIR)
            missing = letter;
    ASSERT_NE(missing, 0);
    form->Left.SetDirectory(std::wstring(1, missing) + L":\\");
    form->Left.Activate();
    DiskInfoView v = CtrlL(VK_ESCAPE);
    EXPECT_EQ(v.group, std::wstring(L"? ") + missing + L": (?)");
    EXPECT_EQ(v.total, L"-1 \u0411");
    EXPECT_EQ(v.free, L"-1 \u0411");
    EXPECT_EQ(v.label, L"?");
    EXPECT_EQ(v.serial, L"0x0000000000000000");
}

TEST_F(SystemWindowsTest, TheMemoryFiguresStayThoseOfTheLastCollectionBetweenTwoCtrlL) {
    DiskInfoView first = CtrlL(VK_ESCAPE);
    // Take and touch memory, so that reading the figures again would give other ones.
    std::vector<char> taken(64 << 20, 1);
    DiskInfoView second = CtrlL(VK_ESCAPE);
    EXPECT_EQ(taken[taken.size() / 2], 1);
    EXPECT_EQ(first.freePhys, second.freePhys);
    EXPECT_EQ(first.freeVirtual, second.freeVirtual);
    EXPECT_EQ(first.freeMem, second.freeMem);
    EXPECT_EQ(first.totalPhys, second.totalPhys);
    EXPECT_EQ(Ungrouped(first.totalPhys), std::to_wstring(form->MainSysInfo().miTotalPhys()) + L" \u0411");
}

// The System Info Manager, read through its tree and list.
class SysInfoWindowTest : public SystemWindowsTest {
protected:
    HWND Tree() { return form->SysInfoForm().tvSI.Handle(); }
    HWND List() { return form->SysInfoForm().lvSI.Handle(); }

    std::wstring NodeText(HTREEITEM node) { return form->SysInfoForm().NodeText(node); }
    Texts Children(HTREEITEM parent) {
        Texts texts;
        for (HTREEITEM n = parent ? TreeView_GetChild(Tree(), parent) : TreeView_GetRoot(Tree()); n;
             n = TreeView_GetNextSibling(Tree(), n))
            texts.push_back(NodeText(n));
        return texts;
    }
    HTREEITEM Find(HTREEITEM first, const std::wstring &text) {
        for (HTREEITEM n = first; n; n = TreeView_GetNextSibling(Tree(), n)) {
            if (NodeText(n) == text)
                return n;
            if (HTREEITEM inner = Find(TreeView_GetChild(Tree(), n), text))
                return inner;
        }
        return nullptr;
    }
    HTREEITEM Node(const std::wstring &text) { return Find(TreeView_GetRoot(Tree()), text); }
    bool Expanded(HTREEITEM node) { return (TreeView_GetItemState(Tree(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }

    // Clicks the node as a person does; its parents are opened first so that it can be seen.
    void Select(HTREEITEM node) {
        for (HTREEITEM p = TreeView_GetParent(Tree(), node); p; p = TreeView_GetParent(Tree(), p))
            TreeView_Expand(Tree(), p, TVE_EXPAND);
        TreeView_EnsureVisible(Tree(), node);
        RECT r{};
        TreeView_GetItemRect(Tree(), node, &r, TRUE);
        testdriver::Click(Tree(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        testdriver::Pump(50);
    }
    Texts RowCaptions() { return testdriver::Captions(List()); }
    std::wstring Value(const std::wstring &caption) {
        for (const testdriver::RowView &row : testdriver::ReadRows(List()))
            if (row.caption == caption)
                return row.subItems.empty() ? L"" : row.subItems[0];
        return L"<none>";
    }
    bool ListShown() { return IsWindowVisible(List()) != FALSE; }
    bool ClockShown() { return IsWindowVisible(form->SysInfoForm().EmptyPanel.Handle()) != FALSE; }

    // Opens the window from the menu, runs the checks while it is up, and closes it with its button.
    void WhileUp(std::function<void()> checks) {
        bool ran = false;
        WhenReady([this] { return SysInfoUp(); },
                  [&] {
                      checks();
                      ran = true;
                      PressButton(L"Close")(form->SysInfoForm().Handle());
                  });
        SendMessageW(form->Handle(), WM_COMMAND, IDM_SYSTEMINFORMATION1, 0);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(SysInfoUp());
    }
};

TEST_F(SysInfoWindowTest, TheTreeListsTheCategoriesAndOneNodePerDrive) {
    std::wstring letters;
    for (wchar_t l = L'A'; l <= L'Z'; ++l)
        if (GetDriveTypeW((std::wstring(1, l) + L":\\").c_str()) > DRIVE_NO_ROOT_DIR)
            letters += l;
    WhileUp([&] {
        EXPECT_EQ(TextOf(form->SysInfoForm().Handle()), L"System Info Manager");
        RECT client{};
        GetClientRect(form->SysInfoForm().Handle(), &client);
        EXPECT_EQ(client.right, 675);
        EXPECT_EQ(client.bottom, 364);
        EXPECT_EQ(Children(nullptr), (Texts{L"Computer", L"Operating System"}));
        EXPECT_EQ(Children(Node(L"Computer")),
                  (Texts{L"CPU", L"Memory", L"Disks", L"Display", L"Monitor", L"Sound Device", L"Mouse", L"Printer"}));
        EXPECT_EQ(Children(Node(L"Display")), Texts{L"Installed Fonts"});
        Texts disks = Children(Node(L"Disks"));
        ASSERT_EQ(disks.size(), letters.size());
        for (size_t i = 0; i < disks.size(); ++i)
            EXPECT_EQ(disks[i].substr(0, 4), std::wstring(1, letters[i]) + L": [") << disks[i];
        // Building the tree read every drive: the last one is the collector's current drive.
        EXPECT_EQ(form->MainSysInfo().diSign(), letters.back());
        EXPECT_FALSE(Expanded(Node(L"Computer")));
        EXPECT_TRUE(ClockShown());
        EXPECT_FALSE(ListShown());

        // Ctrl+Page Down opens every node, Ctrl+Page Up closes them all.
        SetFocus(Tree());
        PressKey(VK_NEXT, ui::ssCtrl);
        EXPECT_TRUE(Expanded(Node(L"Computer")));
        EXPECT_TRUE(Expanded(Node(L"Disks")));
        EXPECT_TRUE(Expanded(Node(L"Display")));
        PressKey(VK_PRIOR, ui::ssCtrl);
        EXPECT_FALSE(Expanded(Node(L"Computer")));
        EXPECT_FALSE(Expanded(Node(L"Disks")));
        PressKey(0x63, ui::ssCtrl);
        EXPECT_TRUE(Expanded(Node(L"Display")));
        PressKey(0x69, ui::ssCtrl);
        EXPECT_FALSE(Expanded(Node(L"Display")));
    });
}

TEST_F(SysInfoWindowTest, EachCategoryListsItsRows) {
    const Texts parameterValue{L"Parameter", L"Value"};
    struct Category {
        std::wstring node;
        Texts captions;
    } categories[] = {
        {L"Computer", {L"Name", L"Owner", L"Organization"}},
        {L"CPU",
         {L"Number of Processors", L"Active Processor Mask", L"Architecture", L"Type", L"Level", L"Revision", L"",
          L"Vendor", L"Vendor Identifier"}},
        {L"Memory",
         {L"Free", L"", L"Total Physical", L"Available Physical", L"", L"Total Page File", L"Available Page File", L"",
          L"Total Virtual", L"Available Virtual", L"", L"Page Size", L"Allocation Granularity"}},
        {L"Disks", {L"Number", L"Available Signs"}},
        {L"Display", {L"Description", L"", L"Screen Width", L"Screen Height", L"Color Resolution", L"Font Count"}},
        {L"Monitor", {L"Description"}},
        {L"Mouse", {L"Description"}},
        {L"Printer", {L"Description"}},
        {L"Operating System",
         {L"Platform", L"Version", L"CSD Version", L"User", L"Product ID", L"", L"Minimum Application Address",
          L"Maximum Application Address"}},
    };
    WhileUp([&] {
        const sysinfo::TSysFacts &facts = form->MainSysInfo();
        for (const Category &c : categories) {
            Select(Node(c.node));
            EXPECT_TRUE(ListShown()) << c.node;
            EXPECT_FALSE(ClockShown()) << c.node;
            EXPECT_EQ(RowCaptions(), c.captions) << c.node;
            EXPECT_EQ(testdriver::ColumnCaption(List(), 0), L"Parameter") << c.node;
            EXPECT_EQ(testdriver::ColumnCaption(List(), 1), L"Value") << c.node;
            if (c.node == L"Computer") {
                EXPECT_EQ(Value(L"Name"), facts.uiComputer());
            }
            if (c.node == L"CPU") {
                EXPECT_EQ(Value(L"Number of Processors"), std::to_wstring(facts.cpuNumber()));
            }
            if (c.node == L"Memory") {
                EXPECT_EQ(Value(L"Free"), std::to_wstring(facts.miFreeMem()) + L" %");
                EXPECT_EQ(Ungrouped(Value(L"Total Physical")), std::to_wstring(facts.miTotalPhys()) + L" B");
                EXPECT_EQ(Ungrouped(Value(L"Page Size")), L"4096 B");
            }
            if (c.node == L"Disks") {
                EXPECT_EQ(Value(L"Number"), std::to_wstring(facts.diAvailableDisks().size()) + L" ");
                EXPECT_EQ(Value(L"Available Signs"), facts.diAvailableDisks());
            }
            if (c.node == L"Display") {
                EXPECT_EQ(Value(L"Screen Width"), std::to_wstring(GetSystemMetrics(SM_CXSCREEN)));
                EXPECT_EQ(Value(L"Color Resolution"), std::to_wstring(facts.dsResolution()) + L" bit");
            }
            if (c.node == L"Operating System") {
                EXPECT_EQ(Value(L"Platform"), L"MS Windows NT");
                EXPECT_EQ(Value(L"Minimum Application Address"), L"0x00000000000000000000000000010000");
            }
        }
        // The font list: "Default" among the screen's families, sorted, counted on the Display node.
        Select(Node(L"Display"));
        std::wstring count = Value(L"Font Count");
        Select(Node(L"Installed Fonts"));
        EXPECT_EQ(testdriver::ColumnCaption(List(), 0), L"Font Name");
        EXPECT_EQ(testdriver::ColumnCaption(List(), 1), L"");
        Texts fonts = RowCaptions();
        EXPECT_EQ(std::to_wstring(fonts.size()), count);
        EXPECT_NE(std::find(fonts.begin(), fonts.end(), L"Default"), fonts.end());
        EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end(), [](const std::wstring &a, const std::wstring &b) {
            return _wcsicmp(a.c_str(), b.c_str()) < 0;
        }));
    });
}

TEST_F(SysInfoWindowTest, ADiskNodeListsNineRowsAndRefreshShowsTheClock) {
    DWORD spc = 0, bps = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceW(L"C:\\", &spc, &bps, &freeClusters, &clusters));
    WhileUp([&] {
        HTREEITEM c = nullptr;
        for (HTREEITEM n = TreeView_GetChild(Tree(), Node(L"Disks")); n; n = TreeView_GetNextSibling(Tree(), n))
            if (NodeText(n).substr(0, 3) == L"C: ")
                c = n;
        ASSERT_NE(c, nullptr);
        Select(c);
        EXPECT_TRUE(ListShown());
        EXPECT_EQ(RowCaptions(),
                  (Texts{L"File System", L"Serial Number", L"", L"Compressed", L"Total Space", L"Free Space",
                         L"Total Clusters", L"Sectors Per Cluster", L"Bytes Per Sector"}));
        EXPECT_EQ(form->MainSysInfo().diSign(), L'C');
        EXPECT_EQ(Ungrouped(Value(L"Total Space")), TotalBytes(L"C:\\") + L" B");
        EXPECT_EQ(Ungrouped(Value(L"Total Clusters")), std::to_wstring(clusters) + L" ");
        EXPECT_EQ(Value(L"Bytes Per Sector"), std::to_wstring(bps) + L" ");
        EXPECT_EQ(Value(L"Serial Number").size(), 18u);

        // Refresh: the tree is built again and the clock shows.
        Select(Node(L"CPU"));
        EXPECT_TRUE(ListShown());
        PressButton(L"Refresh")(form->SysInfoForm().Handle());
        testdriver::Pump(100);
        EXPECT_FALSE(ListShown());
        EXPECT_TRUE(ClockShown());
        EXPECT_EQ(Children(nullptr), (Texts{L"Computer", L"Operating System"}));
    });
}

TEST_F(SysInfoWindowTest, TheSoundDeviceShowsItsRowsUnlessItsDescriptionIsMissing) {
    const wchar_t *path = L"System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000";
    // No key keeps the description empty, which is no "?": the rows show. A key without the value says "?".
    const struct {
        const char *machine;
        bool makeKey;
        const wchar_t *driverDesc;
        bool listShown;
        std::wstring description;
    } cases[] = {{"no sound key", false, nullptr, true, L""},
                 {"a described device", true, L"Zelvor Test Sound", true, L"Zelvor Test Sound"},
                 {"a key without a description", true, nullptr, false, L""}};
    for (const auto &c : cases) {
        std::optional<TTempMachineKey> key;
        if (c.makeKey) {
            key.emplace(path);
            if (!key->Made())
                GTEST_SKIP() << "the sound key exists already or cannot be made here";
            if (c.driverDesc)
                key->SetText(L"DriverDesc", c.driverDesc);
        } else if (TTempMachineKey probe(path); !probe.Made()) {
            GTEST_SKIP() << "this machine has a sound key";
        }
        form->MainSysInfo().Refresh();
        WhileUp([&] {
            Select(Node(L"Sound Device"));
            EXPECT_EQ(ListShown(), c.listShown) << c.machine;
            EXPECT_EQ(ClockShown(), !c.listShown) << c.machine;
            if (c.listShown) {
                EXPECT_EQ(Value(L"Description"), c.description) << c.machine;
            }
        });
    }
}

TEST_F(SysInfoWindowTest, TheContextMenuRefreshesDoesNothingForAboutAndExits) {
    WhileUp([&] {
        Texts items;
        // Reads the menu's items, then chooses one with the keys.
        auto choose = [&](std::vector<WORD> keys) {
            return [&items, keys](HWND menuWindow) {
                HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
                items.clear();
                for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                    wchar_t text[64] = {};
                    GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
                    items.push_back(text);
                }
                for (WORD key : keys) {
                    PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
                    PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000000);
                }
            };
        };
        auto openMenu = [&] {
            SendMessageW(Tree(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree()), -1);
            testdriver::Pump(100);
        };
        Select(Node(L"CPU"));
        {
            fileopstest::MenuAnswer about(choose({VK_DOWN, VK_DOWN, VK_RETURN}));
            openMenu();
            EXPECT_EQ(about.MenusSeen(), 1);
        }
        EXPECT_EQ(items, (Texts{L"Refresh", L"About...", L"", L"Exit"}));
        EXPECT_TRUE(ListShown());
        EXPECT_TRUE(SysInfoUp());
        {
            fileopstest::MenuAnswer refresh(choose({VK_DOWN, VK_RETURN}));
            openMenu();
        }
        EXPECT_FALSE(ListShown());
        EXPECT_TRUE(ClockShown());
        EXPECT_TRUE(SysInfoUp());
        {
            fileopstest::MenuAnswer exit(choose({VK_UP, VK_RETURN}));
            openMenu();
        }
        testdriver::Pump(50);
        EXPECT_EQ(form->SysInfoForm().ModalResult(), ui::mrOk);
    });
}

TEST_F(SystemWindowsTest, AboutShowsTheProgramsOwnVersionEveryTime) {
    for (int time = 0; time < 2; ++time) {
        Texts seen;
        AnswerWhenShown(L"About", [&](HWND box) {
            sysinfo::TAboutBox &about = form->AboutBox();
            seen = {TextOf(about.lbl_ProductName.Handle()), TextOf(about.lbl_ProductVersion.Handle()),
                    TextOf(about.lbl_LegalCopyright.Handle())};
            PressButton(L"OK")(box);
        });
        SendMessageW(form->Handle(), WM_COMMAND, IDM_ABOUTZELVOR1, 0);
        EXPECT_EQ(seen, (Texts{L"Zelvor", L"1.0.0.0", L"Copyright (C) 2026 Kestrune"})) << time;
        EXPECT_FALSE(IsWindowVisible(form->AboutBox().Handle()));
    }
}

// The network commands.
class NetworkCommandsTest : public MainFormTest {
protected:
    void ValidateDriveBoxes() {
        ValidateRect(form->LeftDriveCombo.Handle(), nullptr);
        ValidateRect(form->RightDriveCombo.Handle(), nullptr);
    }
    bool Redrawn(HWND box) { return GetUpdateRect(box, nullptr, FALSE) != FALSE; }
    void Run(int id) { SendMessageW(form->Handle(), WM_COMMAND, id, 0); }
};

TEST_F(NetworkCommandsTest, WithoutANetworkTheDialogsSayWhyKeepingFocusAndSelection) {
    form->Left.Activate();
    ListView_SetItemState(LeftView(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    form->RightFileView.SetSelected(1);
    form->HistoryCmdBox.SetFocus();
    HWND focus = GetFocus();
    for (int id : {IDM_NETWORKCONNECTIONS1, IDM_DISCONNECTNETWORKDRIVES1}) {
        ValidateDriveBoxes();
        std::vector<std::wstring> messages;
        AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(messages));
        Run(id);
        EXPECT_EQ(messages, Texts{testdriver::SystemReason(ERROR_NO_NETWORK)}) << id;
        testdriver::ClearAnswers();
        EXPECT_EQ(GetFocus(), focus) << id;
        EXPECT_EQ(form->LeftFileView.Selected(), -1) << id;
        EXPECT_EQ(form->RightFileView.Selected(), 1) << id;
        EXPECT_FALSE(Redrawn(form->LeftDriveCombo.Handle())) << id;
        EXPECT_FALSE(Redrawn(form->RightDriveCombo.Handle())) << id;
    }
    // Wine has no network provider: its answer is kept as the result code.
    EXPECT_EQ(form->NetConnect.Result(), static_cast<DWORD>(ERROR_NO_NETWORK));
    EXPECT_EQ(form->NetDisConnect.Result(), static_cast<DWORD>(ERROR_NO_NETWORK));
}

TEST_F(NetworkCommandsTest, AfterASuccessTheDriveBoxesAreRedrawnAndTheActiveViewTakesTheFocus) {
    struct Call {
        HWND owner;
        DWORD type;
    };
    std::vector<Call> calls;
    DWORD answer = NO_ERROR;
    auto platform = [&](HWND owner, DWORD type) {
        calls.push_back({owner, type});
        return answer;
    };
    form->NetConnect.PlatformCall = platform;
    form->NetDisConnect.PlatformCall = platform;

    struct Case {
        int command;
        bool leftActive;
        DWORD expectedType;
    } cases[] = {
        {IDM_NETWORKCONNECTIONS1, true, RESOURCETYPE_DISK},
        {IDM_DISCONNECTNETWORKDRIVES1, false, RESOURCETYPE_DISK},
    };
    for (const Case &c : cases) {
        app::TSide *active = c.leftActive ? &form->Left : &form->Right;
        active->Activate();
        ListView_SetItemState(active->FileView.Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        form->HistoryCmdBox.SetFocus();
        ValidateDriveBoxes();
        calls.clear();
        Run(c.command);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].owner, form->Handle());
        EXPECT_EQ(calls[0].type, c.expectedType);
        EXPECT_TRUE(active->FileView.Focused()) << c.command;
        EXPECT_EQ(active->FileView.Selected(), 0) << c.command;
        EXPECT_EQ(ListView_GetNextItem(active->FileView.Handle(), -1, LVNI_FOCUSED), 0) << c.command;
        EXPECT_TRUE(Redrawn(form->LeftDriveCombo.Handle())) << c.command;
        EXPECT_TRUE(Redrawn(form->RightDriveCombo.Handle())) << c.command;
    }

    // A cancelled dialog keeps its code and changes nothing.
    answer = 0xFFFFFFFF;
    form->HistoryCmdBox.SetFocus();
    Run(IDM_NETWORKCONNECTIONS1);
    EXPECT_EQ(form->NetConnect.Result(), 0xFFFFFFFFu);
    EXPECT_TRUE(form->HistoryCmdBox.Focused() || IsChild(form->HistoryCmdBox.Handle(), GetFocus()));

    // Printers are the second kind of connection the disconnect dialog lists.
    form->NetDisConnect.ResourceType = sysinfo::rtPrinter;
    calls.clear();
    Run(IDM_DISCONNECTNETWORKDRIVES1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].type, static_cast<DWORD>(RESOURCETYPE_PRINT));
}

TEST_F(NetworkCommandsTest, ARefusalIsToldWithTheSystemsReasonAndACancelIsNot) {
    DWORD answer = NO_ERROR;
    form->NetConnect.PlatformCall = [&](HWND, DWORD) { return answer; };
    form->NetDisConnect.PlatformCall = [&](HWND, DWORD) { return answer; };
    const struct {
        DWORD answer;
        bool told;
    } cases[] = {{NO_ERROR, false},           {0xFFFFFFFF, false},          {ERROR_CANCELLED, false},
                 {ERROR_NO_NETWORK, true},    {ERROR_ACCESS_DENIED, true},  {ERROR_BAD_NET_NAME, true}};
    for (const auto &c : cases)
        for (int id : {IDM_NETWORKCONNECTIONS1, IDM_DISCONNECTNETWORKDRIVES1}) {
            answer = c.answer;
            testdriver::ClearAnswers();
            std::vector<std::wstring> messages;
            AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(messages));
            Run(id);
            testdriver::Pump(100);
            EXPECT_EQ(messages, c.told ? Texts{testdriver::SystemReason(c.answer)} : Texts{}) << c.answer << " " << id;
        }
    testdriver::ClearAnswers();
}

TEST_F(NetworkCommandsTest, ShareWithoutAPropertySheetSaysSo) {
    // A directory that has gone: the shell finds no item, so there is no sheet to share it on.
    std::wstring gone;
    {
        testdriver::TempDir temp;
        temp.Folder(L"sub");
        form->Left.SetDirectory(temp / L"sub\\");
        gone = temp / L"sub";
    }
    form->Left.Activate();
    form->LeftFileView.SetSelected(-1);
    std::vector<std::wstring> messages;
    AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(messages));
    Run(IDM_SHARECURRENTDIRECTORY1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"\"" + gone + L"\""), std::wstring::npos) << messages[0];
    testdriver::ClearAnswers();
}

TEST_F(NetworkCommandsTest, ShareAndUnshareOpenThePropertiesOfTheDirectoryOrTheFolderUnderTheCursor) {
    testdriver::TempDir temp;
    temp.Folder(L"shared");
    temp.File(L"a.txt", "a");
    form->Left.SetDirectory(temp.Path());
    form->Right.SetDirectory(temp / L"shared\\");
    form->Left.Activate();
    std::wstring dirName = temp.Path().substr(0, temp.Path().size() - 1);
    const std::wstring parent = dirName.substr(0, dirName.rfind(L'\\'));
    dirName = dirName.substr(dirName.rfind(L'\\') + 1);
    const std::wstring parentName = parent.substr(parent.rfind(L'\\') + 1);
    auto rowOf = [&](const std::wstring &caption) {
        Texts captions = testdriver::Captions(LeftView());
        return static_cast<int>(std::find(captions.begin(), captions.end(), caption) - captions.begin());
    };
    struct Case {
        std::wstring cursor;
        int command;
        std::wstring sheet;
    } cases[] = {
        {L"a.txt", IDM_SHARECURRENTDIRECTORY1, L"Properties for " + dirName},
        {L"shared", IDM_SHARECURRENTDIRECTORY1, L"Properties for shared"},
        {L"a.txt", IDM_UNSHAREDIRECTORY1, L"Properties for " + dirName},
        {L"shared", IDM_UNSHAREDIRECTORY1, L"Properties for shared"},
        // The parent row is a folder row: it names the parent folder.
        {L"..", IDM_SHARECURRENTDIRECTORY1, L"Properties for " + parentName},
        {L"..", IDM_UNSHAREDIRECTORY1, L"Properties for " + parentName},
    };
    for (const Case &c : cases) {
        testdriver::ClearAnswers();
        form->LeftFileView.SetSelected(rowOf(c.cursor));
        AnswerWhenShown(c.sheet, PressButton(L"Cancel"));
        Run(c.command);
        EXPECT_EQ(testdriver::AnsweredCaptions(), Texts{c.sheet}) << c.cursor << " " << c.command;
        EXPECT_EQ(form->Left.Directory(), temp.Path());
    }
}

} // namespace
