// CBmpMenu driven as a user would: keys and clicks posted to its windows from
// the owner while the menu's own loop runs.
#include "gui/bmp_menu.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "chat/status.h"
#include "win32/bmp_menu_capture.h"
#include "win32/window.h"

namespace tellu {
namespace {

constexpr UINT kRunLater = WM_APP + 1;  // lParam: a step to run once queued keys are done

// The menu's owner: records what the menu tells it and runs the test's script
// when a menu (the top one, then each submenu) enters its loop.  Without a
// caption Wine does not hand the window to a window manager, and so does not
// wait for one that a headless X server lacks.
struct Owner : Window {
  std::vector<UINT> commands;
  std::vector<std::pair<WPARAM, LPARAM>> selects;
  std::vector<std::pair<WPARAM, LPARAM>> menu_chars;
  std::vector<HMENU> init_menus;
  std::vector<HMENU> init_popups;
  int enters = 0;
  int exits = 0;
  LRESULT menu_char_answer = 0;
  std::vector<std::function<void()>> on_enter;  // step n runs at the n-th loop entry

  Owner() {
    Create({L"BmpMenuTestOwner", 0, nullptr, GetSysColorBrush(COLOR_WINDOW)}, L"owner",
           WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 40, 40, 320, 200, nullptr);
    UpdateWindow(hwnd());
  }

  // Delivers what the menu posted before it closed (its WM_COMMAND).
  void Drain() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        commands.push_back(LOWORD(wp));
        return 0;
      case WM_MENUSELECT:
        selects.push_back({wp, lp});
        return 0;
      case WM_MENUCHAR:
        menu_chars.push_back({wp, lp});
        return menu_char_answer;
      case WM_INITMENU:
        init_menus.push_back(reinterpret_cast<HMENU>(wp));
        return 0;
      case WM_INITMENUPOPUP:
        init_popups.push_back(reinterpret_cast<HMENU>(wp));
        return 0;
      case WM_ENTERMENULOOP: {
        int n = enters++;
        if (n < int(on_enter.size()) && on_enter[size_t(n)]) on_enter[size_t(n)]();
        return 0;
      }
      case WM_EXITMENULOOP:
        ++exits;
        return 0;
      case kRunLater:
        (*reinterpret_cast<std::function<void()>*>(lp))();
        return 0;
      default:
        return Window::HandleMessage(msg, wp, lp);
    }
  }
};

void Key(UINT vk) { PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1); }
void Char(wchar_t ch) { PostMessageW(GetFocus(), WM_CHAR, ch, 1); }
HWND MenuWindow() { return FindWindowW(L"BitmapMenu", nullptr); }

// The centre of item `index` of `count` items of one height, in bar coordinates.
LPARAM ItemPoint(HWND bar, int index, int count) {
  RECT r;
  GetClientRect(bar, &r);
  int h = r.bottom / count;
  return MAKELPARAM(r.right / 2, h * index + h / 2);
}

void Click(int index, int count) {
  HWND bar = GetFocus();
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(bar, index, count));
}

RECT Desktop(POINT p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi);
  return mi.rcMonitor;
}

// "通常状態", "離席中", "ロム中", "秘話中"
constexpr char kNormal[] = "\x92\xca\x8f\xed\x8f\xf3\x91\xd4";
constexpr char kAway[] = "\x97\xa3\x90\xc8\x92\x86";
constexpr char kRom[] = "\x83\x8d\x83\x80\x92\x86";
constexpr char kSecret[] = "\x94\xe9\x98\x62\x92\x86";

class BmpMenuTest : public ::testing::Test {
 protected:
  Owner owner;
  CBmpMenu menu{0, false, nullptr, true};
  int Track(int x = 100, int y = 100) { return menu.Track(TPM_RIGHTBUTTON, x, y, owner.hwnd()); }

  // Opens the menu with its second item hot and saves its picture as `name`;
  // the picture, and where the items' bar lies in it.
  Pixels ShotWithTheSecondItemHot(const char* name, RECT& bar) {
    Pixels shot;
    std::function<void()> shoot = [&] {
      RECT frame;
      GetWindowRect(MenuWindow(), &frame);
      GetWindowRect(GetFocus(), &bar);
      OffsetRect(&bar, -frame.left, -frame.top);
      wintest::CaptureWindow(MenuWindow(), name, &shot);
      Key(VK_ESCAPE);
    };
    HWND owner_hwnd = owner.hwnd();
    owner.on_enter = {[&] {
      Key(VK_DOWN);
      Key(VK_DOWN);
      PostMessageW(owner_hwnd, kRunLater, 0, LPARAM(&shoot));
    }};
    Track(200, 150);
    owner.Drain();
    return shot;
  }
};

// How many pixels of `area` have `colour`, and how many do not.
std::pair<int, int> Count(const Pixels& p, const RECT& area, COLORREF colour) {
  int same = 0, other = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) (p.At(x, y) == colour ? same : other)++;
  return {same, other};
}

// The rows of the bar in which the highlight is most of the row.
std::vector<int> HighlightRows(const Pixels& p, const RECT& bar) {
  std::vector<int> rows;
  for (int y = bar.top; y < bar.bottom; ++y) {
    auto [same, other] = Count(p, {bar.left, y, bar.right, y + 1}, GetSysColor(COLOR_HIGHLIGHT));
    if (same > other) rows.push_back(y - bar.top);
  }
  return rows;
}

// ---------------------------------------------------------------- choosing

TEST_F(BmpMenuTest, ArrowsSkipTheGreyedItemAndEnterChoosesOnce) {
  menu.AppendItem(801, kNormal);
  menu.AppendItem(802, kAway, nullptr, MF_GRAYED);
  menu.AppendItem(803, kRom);
  menu.AppendSeparator();
  menu.AppendItem(804, kSecret);
  owner.on_enter = {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); }};

  EXPECT_EQ(Track(), 1);
  owner.Drain();

  EXPECT_EQ(owner.commands, std::vector<UINT>{803});
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(menu.Window(), nullptr);
  ASSERT_EQ(owner.selects.size(), 2u);
  EXPECT_EQ(owner.selects[0].first, 801u);
  EXPECT_EQ(owner.selects[1].first, 803u);
  EXPECT_EQ(owner.selects[1].second, LPARAM(menu.Menu()));
  EXPECT_EQ(owner.init_menus, std::vector<HMENU>{menu.Menu()});
  EXPECT_EQ(owner.enters, 1);
  EXPECT_EQ(owner.exits, 1);
}

TEST_F(BmpMenuTest, UpFromNoItemGoesToTheLastItem) {
  menu.AppendItem(801, kNormal);
  menu.AppendItem(802, kAway);
  menu.AppendSeparator();
  owner.on_enter = {[] { Key(VK_UP); Key(VK_RETURN); }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{802});
}

TEST_F(BmpMenuTest, EscapeClosesWithoutACommand) {
  menu.AppendItem(801, kNormal);
  owner.on_enter = {[] { Key(VK_DOWN); Key(VK_ESCAPE); }};
  EXPECT_EQ(Track(), 1);
  owner.Drain();
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(owner.exits, 1);
}

TEST_F(BmpMenuTest, EnterWithNothingHotChoosesNothing) {
  menu.AppendItem(801, kNormal);
  owner.on_enter = {[] { Key(VK_RETURN); Key(VK_ESCAPE); }};
  Track();
  owner.Drain();
  EXPECT_TRUE(owner.commands.empty());
}

TEST_F(BmpMenuTest, AClickChoosesAndAGreyedItemIgnoresClicks) {
  menu.AppendItem(801, kNormal);
  menu.AppendItem(802, kAway, nullptr, MF_GRAYED);
  menu.AppendItem(803, kRom);
  owner.on_enter = {[] {
    Click(1, 3);  // greyed: nothing happens, the menu stays
    Click(2, 3);
  }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{803});
}

TEST_F(BmpMenuTest, AGreyedItemIsNeverHot) {
  menu.AppendItem(801, kNormal, nullptr, MF_GRAYED);
  menu.AppendItem(802, kAway, nullptr, MF_GRAYED);
  owner.on_enter = {[] {
    HWND bar = GetFocus();
    PostMessageW(bar, WM_MOUSEMOVE, 0, ItemPoint(bar, 0, 2));
    Key(VK_DOWN);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
  }};
  Track();
  owner.Drain();
  EXPECT_TRUE(owner.selects.empty());
  EXPECT_TRUE(owner.commands.empty());
}

// ---------------------------------------------------------------- mnemonics

TEST_F(BmpMenuTest, AMnemonicChoosesItsItemInEitherCase) {
  menu.AppendItem(801, std::string(kNormal) + "(&N)");
  menu.AppendItem(802, std::string(kAway) + "(&A)");
  owner.on_enter = {[] { Char(L'a'); }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{802});

  owner.commands.clear();
  owner.enters = 0;
  owner.on_enter = {[] { Char(L'N'); }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{801});
}

TEST_F(BmpMenuTest, OnlyCharactersAreMnemonics) {
  // F1's key code is the code of "p": a key that types nothing chooses nothing.
  menu.AppendItem(901, "&Print");
  owner.on_enter = {[] { Key(VK_F1); Key(VK_ESCAPE); }};
  Track();
  owner.Drain();
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_TRUE(owner.menu_chars.empty());
}

TEST_F(BmpMenuTest, ASharedMnemonicStepsThroughItsItems) {
  menu.AppendItem(901, "&Apple");
  menu.AppendItem(902, "&Avocado");
  menu.AppendItem(903, "&Banana");
  menu.AppendItem(904, "A&&B &Apricot");  // "&&" is a plain ampersand
  owner.on_enter = {[] {
    Char(L'a');
    Char(L'a');
    Char(L'a');
    Key(VK_RETURN);
  }};
  Track();
  owner.Drain();
  ASSERT_EQ(owner.selects.size(), 3u);
  EXPECT_EQ(owner.selects[0].first, 901u);
  EXPECT_EQ(owner.selects[1].first, 902u);
  EXPECT_EQ(owner.selects[2].first, 904u);
  EXPECT_EQ(owner.commands, std::vector<UINT>{904});
}

TEST_F(BmpMenuTest, NoMnemonicAsksTheOwnerAndIgnoresAPlainAnswer) {
  menu.AppendItem(901, "&Apple");
  menu.AppendItem(902, "&Cherry", nullptr, MF_GRAYED);  // greyed: not a match
  owner.on_enter = {[] { Char(L'c'); Key(VK_ESCAPE); }};
  Track();
  owner.Drain();
  ASSERT_EQ(owner.menu_chars.size(), 1u);
  EXPECT_EQ(owner.menu_chars[0].first, MAKEWPARAM(L'c', MF_POPUP));
  EXPECT_EQ(owner.menu_chars[0].second, LPARAM(menu.Menu()));
  EXPECT_TRUE(owner.commands.empty());
}

TEST_F(BmpMenuTest, TheOwnersMenuCharAnswerCanCloseOrExecute) {
  menu.AppendItem(901, "&Apple");
  owner.menu_char_answer = MAKELRESULT(0, MNC_CLOSE);
  owner.on_enter = {[] { Char(L'x'); }};
  Track();
  owner.Drain();
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_TRUE(owner.commands.empty());

  owner.enters = 0;
  owner.menu_char_answer = MAKELRESULT(905, MNC_EXECUTE);
  owner.on_enter = {[] { Char(L'x'); }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{905});
}

// ---------------------------------------------------------------- submenus

class BmpSubmenuTest : public BmpMenuTest {
 protected:
  HMENU sub = CreatePopupMenu();
  void SetUp() override {
    menu.AppendItem(801, "One");
    AppendMenuW(sub, MF_STRING, 811, L"Sub one");
    AppendMenuW(sub, MF_STRING, 812, L"Sub two");
    AppendMenuW(menu.Menu(), MF_POPUP, UINT_PTR(sub), L"More");
  }
};

TEST_F(BmpSubmenuTest, RightArrowOpensTheSubmenuWithItsFirstItemHot) {
  owner.on_enter = {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RIGHT); },
                    [] { Key(VK_RETURN); }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{811});
  EXPECT_EQ(owner.init_popups, std::vector<HMENU>{sub});
  EXPECT_EQ(owner.enters, 2);
  EXPECT_EQ(owner.exits, 2);
  EXPECT_EQ(MenuWindow(), nullptr);
  // The popup item is announced by its position with the popup flag.
  bool popup_selected = false;
  for (auto [wp, lp] : owner.selects) {
    if (wp == MAKEWPARAM(1, MF_POPUP) && lp == LPARAM(menu.Menu())) popup_selected = true;
  }
  EXPECT_TRUE(popup_selected);
}

TEST_F(BmpSubmenuTest, ASubmenuOpenedByMouseStartsWithNoItemHot) {
  std::function<void()> later = [] { Key(VK_DOWN); Key(VK_RETURN); };
  HWND owner_hwnd = owner.hwnd();
  owner.on_enter = {[] { Click(1, 2); },
                    [&] {
                      // Enter with nothing hot does nothing; then the first item.
                      Key(VK_RETURN);
                      PostMessageW(owner_hwnd, kRunLater, 0, LPARAM(&later));
                    }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{811});
}

TEST_F(BmpSubmenuTest, LeftArrowReturnsToTheParent) {
  std::function<void()> later = [] { Key(VK_UP); Key(VK_RETURN); };
  HWND owner_hwnd = owner.hwnd();
  owner.on_enter = {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); },
                    [&] {
                      Key(VK_LEFT);
                      // Runs once the submenu has gone: the parent has the keys
                      // again, with "More" still hot.
                      PostMessageW(owner_hwnd, kRunLater, 0, LPARAM(&later));
                    }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.commands, std::vector<UINT>{801});
  EXPECT_EQ(owner.enters, 2);
  EXPECT_EQ(owner.exits, 2);
}

TEST_F(BmpSubmenuTest, HoveringOpensASubmenuAndHoveringElsewhereClosesIt) {
  static HWND parent_bar;
  auto hover = [](HWND bar, int index) {
    PostMessageW(bar, WM_MOUSEMOVE, 0, ItemPoint(bar, index, 2));
    PostMessageW(bar, WM_MOUSEHOVER, 0, ItemPoint(bar, index, 2));
  };
  std::function<void()> later = [] { Key(VK_RETURN); };
  HWND owner_hwnd = owner.hwnd();
  owner.on_enter = {[hover] {
                      parent_bar = GetFocus();
                      hover(parent_bar, 1);
                    },
                    [&, hover] {
                      // Back on "One": the submenu closes and "One" is hot.
                      hover(parent_bar, 0);
                      PostMessageW(owner_hwnd, kRunLater, 0, LPARAM(&later));
                    }};
  Track();
  owner.Drain();
  EXPECT_EQ(owner.enters, 2);
  EXPECT_EQ(owner.commands, std::vector<UINT>{801});
}

TEST_F(BmpSubmenuTest, EscapeInTheSubmenuClosesTheWholeChain) {
  owner.on_enter = {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); }, [] { Key(VK_ESCAPE); }};
  EXPECT_EQ(Track(), 1);
  owner.Drain();
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(owner.exits, 2);
}

// ---------------------------------------------------------------- closing

TEST_F(BmpMenuTest, ActivatingAnotherWindowClosesTheMenu) {
  menu.AppendItem(801, kNormal);
  std::function<void()> later = [this] { SetActiveWindow(owner.hwnd()); };
  HWND owner_hwnd = owner.hwnd();
  owner.on_enter = {[&] { PostMessageW(owner_hwnd, kRunLater, 0, LPARAM(&later)); }};
  EXPECT_EQ(Track(), 1);
  owner.Drain();
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_TRUE(owner.commands.empty());
}

TEST_F(BmpMenuTest, NoValidOwnerShowsNothing) {
  menu.AppendItem(801, kNormal);
  EXPECT_EQ(menu.Track(0, 10, 10, nullptr), 0);
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(menu.Track(0, 10, 10, gone), 0);
  EXPECT_TRUE(owner.init_menus.empty());
}

// ---------------------------------------------------------------- placing

RECT OpenAt(Owner& owner, CBmpMenu& menu, int x, int y) {
  static RECT seen;
  seen = {};
  owner.enters = 0;
  owner.on_enter = {[] {
    GetWindowRect(MenuWindow(), &seen);
    Key(VK_ESCAPE);
  }};
  menu.Track(0, x, y, owner.hwnd());
  return seen;
}

TEST_F(BmpMenuTest, OpensBesideThePointAwayFromTheDesktopEdges) {
  menu.AppendItem(801, kNormal);
  menu.AppendItem(802, kAway);
  RECT d = Desktop({100, 100});

  RECT r = OpenAt(owner, menu, d.left + 10, d.top + 10);
  EXPECT_EQ(r.left, d.left + 10);
  EXPECT_EQ(r.top, d.top + 10);

  // Near the bottom-right corner: to the left of and above the point.
  r = OpenAt(owner, menu, d.right - 5, d.bottom - 5);
  EXPECT_EQ(r.right, d.right - 5);
  EXPECT_EQ(r.bottom, d.bottom - 5);

  r = OpenAt(owner, menu, d.right - 5, d.top + 10);
  EXPECT_EQ(r.right, d.right - 5);
  EXPECT_EQ(r.top, d.top + 10);

  r = OpenAt(owner, menu, d.left + 10, d.bottom - 5);
  EXPECT_EQ(r.left, d.left + 10);
  EXPECT_EQ(r.bottom, d.bottom - 5);
}

TEST(BmpMenuPlace, TopLevelFollowsTheEdgesItWouldCross) {
  RECT d{0, 0, 1000, 800};
  SIZE s{100, 200};
  auto at = [&](int x, int y) {
    POINT p = CBmpMenu::PlaceTopLevel({x, y}, s, d);
    return std::pair<LONG, LONG>(p.x, p.y);
  };
  EXPECT_EQ(at(10, 10), std::make_pair(10L, 10L));
  EXPECT_EQ(at(900, 600), std::make_pair(900L, 600L));  // touching the edges is inside
  EXPECT_EQ(at(950, 10), std::make_pair(850L, 10L));
  EXPECT_EQ(at(10, 700), std::make_pair(10L, 500L));
  EXPECT_EQ(at(950, 700), std::make_pair(850L, 500L));
  // Too near the left to open leftwards: above, if the right fits.
  EXPECT_EQ(at(50, 700), std::make_pair(50L, 500L));
  // A menu that cannot fit beside the point still stays on the desktop.
  EXPECT_EQ(at(950, 100), std::make_pair(850L, 100L));
  POINT big = CBmpMenu::PlaceTopLevel({950, 700}, {1200, 900}, d);
  EXPECT_EQ(big.x, 0);
  EXPECT_EQ(big.y, 0);
}

TEST(BmpMenuPlace, SubmenuTriesRightThenLeftTopThenBottomAligned) {
  RECT d{0, 0, 1000, 800};
  SIZE s{100, 200};
  auto at = [&](RECT item) {
    POINT p = CBmpMenu::PlaceSubmenu(item, s, d);
    return std::pair<LONG, LONG>(p.x, p.y);
  };
  EXPECT_EQ(at({100, 100, 200, 120}), std::make_pair(200L, 100L));
  EXPECT_EQ(at({100, 700, 200, 720}), std::make_pair(200L, 520L));
  EXPECT_EQ(at({850, 100, 950, 120}), std::make_pair(750L, 100L));
  EXPECT_EQ(at({850, 700, 950, 720}), std::make_pair(750L, 520L));
  // Nowhere fits: kept on the desktop.
  POINT p = CBmpMenu::PlaceSubmenu({0, 0, 1000, 20}, {100, 900}, d);
  EXPECT_EQ(p.x, 900);
  EXPECT_EQ(p.y, 0);
}

// ---------------------------------------------------------------- pictures

HBITMAP Status(int id) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

TEST_F(BmpMenuTest, StatusMenuScreenshot) {
  std::vector<HBITMAP> pictures;
  for (const StatusMenuItem& item : StatusMenu()) {
    pictures.push_back(Status(item.bitmap));
    ASSERT_NE(pictures.back(), nullptr) << item.bitmap;
    menu.AppendItem(UINT(item.command), item.label, pictures.back());
  }
  RECT bar{};
  const Pixels shot = ShotWithTheSecondItemHot("status_menu.bmp", bar);
  for (HBITMAP b : pictures) DeleteObject(b);
  ASSERT_FALSE(shot.px.empty());
  ASSERT_LE(bar.right, shot.width);
  ASSERT_LE(bar.bottom, shot.height);

  // Rows of one height, the second on the highlight; in each, the picture in
  // the square at its left and the label beside it stand out of the ground.
  const int count = int(pictures.size());
  const int h = (bar.bottom - bar.top) / count;
  ASSERT_GT(h, 4);
  for (int i = 0; i < count; ++i) {
    const int top = bar.top + i * h + 2, bottom = bar.top + (i + 1) * h - 2;
    const COLORREF ground = GetSysColor(i == 1 ? COLOR_HIGHLIGHT : COLOR_MENU);
    const auto [on_ground, off_ground] = Count(shot, {bar.left + 1, top, bar.right, bottom}, ground);
    EXPECT_GT(on_ground, off_ground) << "item " << i;
    EXPECT_GT(Count(shot, {bar.left + 1, top, bar.left + h, bottom}, ground).second, 10)
        << "picture " << i;
    EXPECT_GT(Count(shot, {bar.left + h + 2, top, bar.right, bottom}, ground).second, 10)
        << "label " << i;
    if (i != 1) {
      EXPECT_EQ(Count(shot, {bar.left, top, bar.right, bottom}, GetSysColor(COLOR_HIGHLIGHT)).first,
                0)
          << "item " << i;
    }
  }
}

TEST_F(BmpMenuTest, ItemKindsScreenshot) {
  HBITMAP heart = Status(160), phone = Status(158);
  menu.AppendItem(801, "Normal item (&N)", heart);
  menu.AppendItem(802, "Checked, own picture", phone, MF_CHECKED);
  menu.AppendItem(803, "Checked, system mark", nullptr, MF_CHECKED);
  menu.AppendItem(804, "Greyed (&G)", heart, MF_GRAYED);
  menu.AppendSeparator();
  menu.AppendItem(805, "Name\tavatar.mov");
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 811, L"Sub one");
  AppendMenuW(menu.Menu(), MF_POPUP, UINT_PTR(sub), L"Submenu");
  RECT bar{};
  const Pixels shot = ShotWithTheSecondItemHot("bmp_menu_kinds.bmp", bar);
  DeleteObject(heart);
  DeleteObject(phone);
  ASSERT_FALSE(shot.px.empty());
  ASSERT_LE(bar.right, shot.width);
  ASSERT_LE(bar.bottom, shot.height);

  // One band of highlight, below the first item and well within the upper
  // half of the seven.
  const std::vector<int> rows = HighlightRows(shot, bar);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back() - rows.front() + 1, int(rows.size()));
  EXPECT_GT(rows.front(), 4);
  EXPECT_LT(rows.back(), (bar.bottom - bar.top) / 2);
}

}  // namespace
}  // namespace tellu
