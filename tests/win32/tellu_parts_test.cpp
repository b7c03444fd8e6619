// The input bar's Windows pieces on their own, in this process: the system
// menu, the status menu and the status on the bar, the tooltips, the avatar
// menus, the transfer window, the information text and the help document.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bar/system_menu_items.h"
#include "chat/status.h"
#include "platform/fake_files.h"
#include "res/resource.h"
#include "tellu_process.h"
#include "gui/avatar_popup.h"
#include "gui/bar_keys.h"
#include "gui/bar_tooltips.h"
#include "win32/bmp_menu_capture.h"
#include "gui/help.h"
#include "win32/message_window.h"
#include "gui/status_popup.h"
#include "gui/system_menu.h"
#include "gui/transfer_view.h"
#include "win32/wide_text.h"
#include "win32/window.h"

namespace tellu {
namespace {

// A window with the bar's frame and a record of the commands it gets.
class Owner : public Window {
 public:
  Owner() {
    Create({L"TelluPartsOwner"}, L"owner",
           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
           0, 60, 60, 320, 120, nullptr);
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
  std::vector<UINT> commands;
  std::vector<WPARAM> menu_chars;
  std::vector<std::function<void()>> on_enter;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_COMMAND:
        commands.push_back(LOWORD(wparam));
        return 0;
      case WM_MENUCHAR:
        menu_chars.push_back(wparam);
        return MAKELRESULT(0, MNC_IGNORE);
      case WM_ENTERMENULOOP:
        if (!on_enter.empty()) {
          auto step = on_enter.front();
          on_enter.erase(on_enter.begin());
          step();
        }
        return 0;
      default:
        return Window::HandleMessage(message, wparam, lparam);
    }
  }
};

void Drain() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

struct MenuRow {
  UINT id;
  std::wstring text;
  UINT state;
};

std::vector<MenuRow> Rows(HMENU menu) {
  std::vector<MenuRow> rows;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    rows.push_back({(info.fType & MFT_SEPARATOR) ? 0u : info.wID, text, info.fState});
  }
  return rows;
}

// ---------------------------------------------------------------- system menu

// The program's items after the window's own, in order: command, string, grayed.
std::vector<MenuRow> ProgramItems(HMENU menu) {
  std::vector<MenuRow> rows = Rows(menu);
  size_t separator = rows.size();
  while (separator > 0 && rows[separator - 1].id != 0) --separator;
  return std::vector<MenuRow>(rows.begin() + static_cast<long>(separator), rows.end());
}

bool Grayed(const MenuRow& row) { return (row.state & MFS_GRAYED) != 0; }

std::wstring StringResource(int id) {
  wchar_t buf[128];
  const int n = LoadStringW(GetModuleHandleW(nullptr), UINT(id), buf, 128);
  return std::wstring(buf, size_t(n > 0 ? n : 0));
}

TEST(TelluSystemMenu, LaunchModeHasEveryItemTheChatItemsGrayedUntilLogin) {
  Owner bar;
  SystemMenu menu;
  menu.Extend(bar.hwnd(), true);
  HMENU sys = GetSystemMenu(bar.hwnd(), FALSE);
  EXPECT_EQ(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND), UINT(-1));
  EXPECT_EQ(GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND), UINT(-1));
  EXPECT_NE(GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND), UINT(-1));

  // The table itself is pinned by the unit test; here the menu is built from it.
  const std::vector<MenuRow> items = ProgramItems(sys);
  const std::vector<SystemMenuItem> expected = SystemMenuItems(true);
  ASSERT_EQ(items.size(), 8u);
  ASSERT_EQ(expected.size(), 8u);
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].id, UINT(expected[i].command));
    EXPECT_EQ(items[i].text, StringResource(expected[i].string_id))
        << "string " << expected[i].string_id;
    EXPECT_EQ(Grayed(items[i]), expected[i].grayed_until_login) << expected[i].command;
  }

  menu.EnableLoginItems(true);
  for (const MenuRow& row : ProgramItems(sys)) EXPECT_FALSE(Grayed(row)) << row.id;
  menu.EnableLoginItems(false);
  EXPECT_TRUE(Grayed(ProgramItems(sys)[2]));

  menu.CheckLog(true);
  menu.CheckWho(true);
  EXPECT_TRUE(GetMenuState(sys, 48, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(sys, 80, MF_BYCOMMAND) & MF_CHECKED);
  menu.CheckWho(false);
  EXPECT_FALSE(GetMenuState(sys, 80, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(TelluSystemMenu, AttachModeHasOnlyTheMessageTableHelpAndVersion) {
  Owner bar;
  SystemMenu menu;
  menu.Extend(bar.hwnd(), false);
  const std::vector<MenuRow> items = ProgramItems(GetSystemMenu(bar.hwnd(), FALSE));
  const std::vector<SystemMenuItem> expected = SystemMenuItems(false);
  ASSERT_EQ(items.size(), 3u);
  ASSERT_EQ(expected.size(), 3u);
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].id, UINT(expected[i].command));
  EXPECT_EQ(items[2].text, L"\xFF8A\xFF9E\xFF70\xFF7C\xFF9E\xFF6E\xFF9D\x60C5\x5831 (&A)...");
  for (const MenuRow& row : items) EXPECT_FALSE(Grayed(row));
}

// ---------------------------------------------------------------- texts

TEST(TelluInformation, FormatsFillConversionsInOrder) {
  EXPECT_EQ(FillFormat(L"Free Memory   %lu KB / %lu KB\r\n", {L"12", L"3456"}),
            L"Free Memory   12 KB / 3456 KB\r\n");
  EXPECT_EQ(FillFormat(L"Disk Space  %lu KB (Disk %c:)", {L"5000000000", L"C"}),
            L"Disk Space  5000000000 KB (Disk C:)");
  EXPECT_EQ(FillFormat(L"100%% %d and %s", {L"1"}), L"100% 1 and ");
  EXPECT_EQ(FillFormat(L"cut %l", {L"1"}), L"cut %l");
}

TEST(TelluInformation, MemoryLineThenDiskLine) {
  const std::wstring text = InformationText();
  ASSERT_EQ(text.rfind(L"Free Memory   ", 0), 0u) << Sjis(text);
  const size_t end = text.find(L"\r\n");
  ASSERT_NE(end, std::wstring::npos);
  const std::wstring disk = text.substr(end + 2);
  EXPECT_TRUE(disk.rfind(L"Disk Space  ", 0) == 0 || disk == L"\x4E0D\x660E") << Sjis(disk);
}

TEST(TelluHelp, TheOldHelpFileWhenThereIsOneElseThePage) {
  FakeFiles files;
  EXPECT_EQ(HelpDocument(files, "C:\\Tellu\\tellu.exe"), "C:\\Tellu\\tellu.html");
  files.Put("C:\\Tellu\\tellu.HLP", "");
  EXPECT_EQ(HelpDocument(files, "C:\\Tellu\\tellu.exe"), "C:\\Tellu\\tellu.HLP");
  // "ソ" ends in the byte of a backslash: the folder is found all the same.
  EXPECT_EQ(HelpDocument(files, "C:\\\x83\x5C\\t.exe"), "C:\\\x83\x5C\\tellu.html");
}

// ---------------------------------------------------------------- status

TEST(TelluStatusMenu, KeyboardChoiceSendsExactlyOneCommand) {
  Owner owner;
  StatusPictures pictures;
  StatusPopup popup(pictures);
  owner.on_enter = {[] {
    HWND items = GetFocus();
    PostMessageW(items, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(items, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(items, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(items, WM_KEYDOWN, VK_RETURN, 1);
  }};
  popup.Show(owner.hwnd(), {80, 80});
  Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{802});

  // The statuses of the menu table (pinned by the unit test), each with its
  // picture.
  const std::vector<MenuRow> rows = Rows(popup.Menu());
  const auto expected = StatusMenu();
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].id, UINT(expected[i].command));
    EXPECT_EQ(rows[i].text, Wide(expected[i].label));
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    GetMenuItemInfoW(popup.Menu(), static_cast<UINT>(i), TRUE, &info);
    EXPECT_EQ(info.hbmpUnchecked, pictures.Get(expected[i].index));
  }
}

TEST(TelluStatusMenu, ACharacterIsNoMnemonicAndChoosesNothing) {
  Owner owner;
  StatusPictures pictures;
  StatusPopup popup(pictures);
  owner.on_enter = {[] {
    HWND items = GetFocus();
    PostMessageW(items, WM_CHAR, L'a', 1);
    PostMessageW(items, WM_KEYDOWN, VK_ESCAPE, 1);
  }};
  popup.Show(owner.hwnd(), {80, 80});
  Drain();
  EXPECT_TRUE(owner.commands.empty());
  ASSERT_EQ(owner.menu_chars.size(), 1u);
  EXPECT_EQ(LOWORD(owner.menu_chars[0]), L'a');
  // The same menu shows again, rebuilt, and is chosen once.
  owner.on_enter = {[] {
    HWND items = GetFocus();
    PostMessageW(items, WM_KEYDOWN, VK_UP, 1);
    PostMessageW(items, WM_KEYDOWN, VK_RETURN, 1);
  }};
  popup.Show(owner.hwnd(), {80, 80});
  Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{806});
  EXPECT_EQ(Rows(popup.Menu()).size(), 6u);
}

class BarDialog : public Dialog {
 public:
  BarDialog() { CreateModeless(nullptr, IDD_TELLU_DIALOG); }
};

TEST(TelluStatusOnBar, AwayShowsIcon155AndItsPictureOthersIcon128) {
  BarDialog bar;
  ASSERT_NE(bar.hwnd(), nullptr);
  StatusPictures pictures;
  HWND button = GetDlgItem(bar.hwnd(), IDC_BAR_STATUS);
  auto small_icon = [&] {
    return reinterpret_cast<HICON>(SendMessageW(bar.hwnd(), WM_GETICON, ICON_SMALL, 0));
  };
  auto picture = [&] {
    return reinterpret_cast<HBITMAP>(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
  };
  ShowStatusOnBar(bar.hwnd(), 1, pictures);
  EXPECT_EQ(small_icon(), ProgramIcon(IDI_AWAY, true));
  EXPECT_EQ(picture(), pictures.Get(1));
  ShowStatusOnBar(bar.hwnd(), 3, pictures);
  EXPECT_EQ(small_icon(), ProgramIcon(IDI_TELLU, true));
  EXPECT_EQ(picture(), pictures.Get(3));
  EXPECT_NE(pictures.Get(1), pictures.Get(3));
  EXPECT_EQ(pictures.Get(7), nullptr);
  EXPECT_EQ(pictures.Get(-1), nullptr);
}

// ---------------------------------------------------------------- tooltips

std::wstring TipText(BarTooltips& tips, HWND control) {
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = tips.Window();
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(control);
  info.hdr.code = TTN_GETDISPINFOW;
  info.uFlags = TTF_IDISHWND;
  if (!tips.OnNotify(&info.hdr) || !info.lpszText) return L"(none)";
  return info.lpszText;
}

TEST(TelluTooltips, EachSmallButtonItsTextTheStatusButtonTheStatusInForce) {
  BarDialog bar;
  int status = 0;
  BarTooltips tips;
  ASSERT_TRUE(tips.Create(bar.hwnd(), {IDC_BAR_WHO, IDC_BAR_MESSAGE_TABLE, IDC_BAR_STATUS},
                          [&] { return status; }));
  EXPECT_EQ(SendMessageW(tips.Window(), TTM_GETTOOLCOUNT, 0, 0), 3);
  EXPECT_EQ(TipText(tips, GetDlgItem(bar.hwnd(), IDC_BAR_WHO)),
            L"RealTimeWho\x8868\x793AON/OFF\x5207\x63DB");
  EXPECT_EQ(TipText(tips, GetDlgItem(bar.hwnd(), IDC_BAR_MESSAGE_TABLE)),
            L"\x767B\x9332\x30E1\x30C3\x30BB\x30FC\x30B8\x9001\x4FE1");
  status = 1;
  EXPECT_EQ(TipText(tips, GetDlgItem(bar.hwnd(), IDC_BAR_STATUS)),
            L"\x30B9\x30C6\x30FC\x30BF\x30B9\x5909\x66F4(\x96E2\x5E2D\x4E2D)");
  EXPECT_EQ(TipText(tips, GetDlgItem(bar.hwnd(), IDC_BAR_EDIT)), L"");
  // Another window's notification is not the tooltips'.
  NMHDR other{bar.hwnd(), 0, TTN_GETDISPINFOW};
  EXPECT_FALSE(tips.OnNotify(&other));
}

// ---------------------------------------------------------------- avatar menus

TEST(TelluAvatarMenu, ItemsSeparatorsAndSubmenusKeepTheirCommands) {
  Menu items;
  MenuItem registered;
  registered.kind = MenuItem::Kind::kPopup;
  registered.label = "\x93\x6F\x98\x5E\xB1\xCA\xDE\xC0";  // 登録ｱﾊﾞﾀ
  registered.items.push_back({MenuItem::Kind::kText, 0x220, "No. 1 a\tb.mov", {}});
  items.push_back(registered);
  items.push_back({MenuItem::Kind::kText, 0x201, "me\tme.mov", {}});
  items.push_back({MenuItem::Kind::kSeparator, 0, "", {}});
  items.push_back({MenuItem::Kind::kText, 0x203, "Bob\tbob.mov", {}});
  HMENU menu = BuildPopupMenu(items);
  ASSERT_NE(menu, nullptr);
  const std::vector<MenuRow> rows = Rows(menu);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].text, L"\x767B\x9332\xFF71\xFF8A\xFF9E\xFF80");
  HMENU sub = GetSubMenu(menu, 0);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 1);
  EXPECT_EQ(GetMenuItemID(sub, 0), 0x220u);
  EXPECT_EQ(rows[1].id, 0x201u);
  EXPECT_EQ(rows[1].text, L"me\tme.mov");
  EXPECT_EQ(rows[2].id, 0u);
  EXPECT_EQ(rows[3].id, 0x203u);
  DestroyMenu(menu);
}

// ---------------------------------------------------------------- transfer window

TEST(TelluTransferView, ShowsItsTextsAndOnlyTheButtonCancels) {
  MessageWindow loop;
  BarDialog bar;
  BarKeyFilter keys(bar.hwnd(), GetDlgItem(bar.hwnd(), IDC_BAR_EDIT), [] { return true; },
                    [](BarAction) { return false; });
  int cancels = 0;
  auto view = TransferView::Open(bar.hwnd(), loop, [&] { ++cancels; });
  ASSERT_NE(view, nullptr);
  HWND w = view->Window();
  EXPECT_TRUE(IsWindowVisible(w));
  view->SetTexts("Tellu Receiving", "A\x82\xB3\x82\xF1\x82\xA9\x82\xE7\r\nfoo.mov");
  view->SetShare("  50.0 %", 50, "(^_^)");
  EXPECT_EQ(wintest::WindowTextOf(w), L"Tellu Receiving");
  EXPECT_EQ(wintest::WindowTextOf(GetDlgItem(w, IDC_TRANSFER_MESSAGE)),
            L"A\x3055\x3093\x304B\x3089\r\nfoo.mov");
  EXPECT_EQ(wintest::WindowTextOf(GetDlgItem(w, IDC_TRANSFER_PERCENT)), L"  50.0 %");
  EXPECT_EQ(SendDlgItemMessageW(w, IDC_TRANSFER_PROGRESS, PBM_GETPOS, 0, 0), 50);
  EXPECT_EQ(wintest::WindowTextOf(GetDlgItem(w, IDC_TRANSFER_FACE)), L"(^_^)");
  wintest::CaptureWindow(w, "tellu_transfer.bmp");

  // Escape and Enter do nothing; the button cancels, once.
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(GetDlgItem(w, IDCANCEL), WM_KEYDOWN, VK_RETURN, 1);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dialog::PreTranslate(m)) DispatchMessageW(&m);
  }
  EXPECT_EQ(cancels, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(w, IDCANCEL)));
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(w, IDCANCEL)));
  EXPECT_EQ(cancels, 0) << "the cancel comes from the loop";
  PumpMessagesUntil([&] { return cancels > 0; }, 5000);
  EXPECT_EQ(cancels, 1);

  // After Close nothing more is called and the window is gone.
  view->Close();
  EXPECT_FALSE(IsWindow(w));
}

TEST(TelluTransferView, ACancelStillWaitingIsDroppedWhenTheViewCloses) {
  MessageWindow loop;
  BarDialog bar;
  int cancels = 0;
  auto view = TransferView::Open(bar.hwnd(), loop, [&] { ++cancels; });
  ASSERT_NE(view, nullptr);
  SendMessageW(view->Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  view.reset();
  PumpMessagesUntil([] { return false; }, 0);
  EXPECT_EQ(cancels, 0);
}

}  // namespace
}  // namespace tellu
