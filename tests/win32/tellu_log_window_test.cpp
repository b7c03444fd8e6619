// The log window on its own, in this process, over a log store the test
// fills: colours read back from the view, freezing, whispers only, the line
// limit, addresses opened through a recording shell, closing.
#include <windows.h>

#include <richedit.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "res/resource.h"
#include "tellu_process.h"
#include "win32/bmp_menu_capture.h"
#include "gui/log_window.h"
#include "gui/tile_painter.h"
#include "win32/wide_text.h"
#include "win32/window.h"

namespace tellu {
namespace {

// Paints of a window that stands beside the log window.
int paints = 0;
LRESULT CALLBACK CountPaints(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PAINT || m == WM_ERASEBKGND || m == WM_NCPAINT) ++paints;
  return DefWindowProcW(w, m, wp, lp);
}

// Records what it opens; `during` stands for a message loop the shell's open
// may run (an error box, a security prompt).
class RecordingShell : public Shell {
 public:
  bool Open(const std::string& document) override {
    opened.push_back(document);
    if (during) during();
    return true;
  }
  std::function<void()> during;
  bool Start(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  std::vector<std::string> opened;
};

class Owner : public Window {
 public:
  Owner() { Create({L"TelluLogOwner"}, L"owner", WS_POPUP, 0, 0, 0, 10, 10, nullptr); }
};

void Drain() {
  MSG m;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(10);
  }
}

// The view's text with its line breaks as "\n".
std::wstring ViewText(HWND view) {
  // Room for the length in bytes: a control that keeps Shift-JIS counts so.
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(view)) * 2 + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(view, text.data(), static_cast<int>(text.size()))));
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    out += text[i] == L'\r' ? L'\n' : text[i];
  }
  return out;
}

// Where a text stands in the view, in the control's own character positions.
LONG Find(HWND view, const std::wstring& what) {
  FINDTEXTW find{{0, -1}, what.c_str()};
  return static_cast<LONG>(SendMessageW(view, EM_FINDTEXTW, 1 /* down */, reinterpret_cast<LPARAM>(&find)));
}

COLORREF ColourAt(HWND view, LONG at) {
  CHARRANGE range{at, at + 1};
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format.crTextColor;
}

std::wstring Line(HWND view, int index) {
  wchar_t buffer[256] = {};
  *reinterpret_cast<WORD*>(buffer) = 255;
  const LRESULT n = SendMessageW(view, EM_GETLINE, index, reinterpret_cast<LPARAM>(buffer));
  std::wstring line(buffer, static_cast<size_t>(n));
  while (!line.empty() && (line.back() == L'\r' || line.back() == L'\n')) line.pop_back();
  return line;
}

// The text's second character, found line by line: the control's find may
// count a paragraph's end otherwise than its selections and hit test do.
void DoubleClick(HWND view, const std::wstring& text) {
  LONG at = -1;
  const int lines = static_cast<int>(SendMessageW(view, EM_GETLINECOUNT, 0, 0));
  for (int i = 0; i < lines && at < 0; ++i) {
    const size_t column = Line(view, i).find(text);
    if (column != std::wstring::npos)
      at = static_cast<LONG>(SendMessageW(view, EM_LINEINDEX, i, 0) + column);
  }
  ASSERT_GE(at, 0) << Sjis(text);
  POINTL point{};
  SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at + 1);
  const LPARAM where = MAKELPARAM(point.x + 1, point.y + 2);
  SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageW(view, WM_LBUTTONUP, 0, where);
  SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  SendMessageW(view, WM_LBUTTONUP, 0, where);
}

void Click(HWND window, int id) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The view's right-button menu, answered from a timer while it is up: whether
// "Copy(&C)" was greyed; `key` picks an item by its letter, 0 closes the menu.
struct MenuProbe {
  wchar_t key = 0;
  int copy_state = -1;
};
MenuProbe* menu_probe = nullptr;

void CALLBACK AnswerMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup || !menu_probe) return;
  KillTimer(nullptr, timer);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  menu_probe->copy_state = static_cast<int>(GetMenuState(menu, kCopyCommand, MF_BYCOMMAND));
  if (menu_probe->key)
    PostMessageW(popup, WM_CHAR, menu_probe->key, 0);
  else
    EndMenu();
}

bool CopyGreyed(HWND view, wchar_t key) {
  MenuProbe probe{key};
  menu_probe = &probe;
  SetTimer(nullptr, 0, 50, AnswerMenu);
  SendMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  menu_probe = nullptr;
  EXPECT_NE(probe.copy_state, -1) << "the menu did not show";
  return probe.copy_state != -1 && (probe.copy_state & MF_GRAYED) != 0;
}


TEST(TelluLogWindow, LiveFrozenWhispersLimitAddressesAndClose) {
  Owner owner;
  LogStore store;
  RecordingShell shell;
  Settings settings;
  settings.font_tenths = 90;
  int gone = 0;
  store.Append("<Bob>", "see www.example.com now");
  LogWindow* window = LogWindow::Open(owner.hwnd(), store, shell, settings, [&] { ++gone; });
  ASSERT_NE(window, nullptr);
  HWND dialog = window->hwnd();
  HWND view = GetDlgItem(dialog, IDC_LOG_VIEW);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(WindowText(dialog), "LogDisplay (  0%)");
  // The full fill: everything in black but the address.
  EXPECT_EQ(ViewText(view), L"\n<Bob> see www.example.com now");
  EXPECT_EQ(ColourAt(view, Find(view, L"<Bob>")), RGB(0, 0, 0));
  EXPECT_EQ(ColourAt(view, Find(view, L"www.")), kAddressColour);
  EXPECT_EQ(ColourAt(view, Find(view, L" now")), RGB(0, 0, 0));

  // Live lines come with their colours on the refresh request.
  store.Append("<Amy>", "hello");
  store.Append("{Ann -> me}", "mail me@x.org or www.b.jp");
  // Addresses that name a program or a share, each on a line of its own
  // (a line the view wraps would count as two).
  const std::wstring kHostile =
      L"<Eve> c://folder/program.exe\n<Eve> file:///C:/folder/program.exe\n<Eve> file://host/share/x.exe\n<Fay> ok";
  for (const char* text : {"c://folder/program.exe", "file:///C:/folder/program.exe", "file://host/share/x.exe"})
    store.Append("<Eve>", text);
  store.Append("<Fay>", "ok");
  PostMessageW(dialog, kRefreshMessage, 0, 0);
  Drain();
  EXPECT_TRUE(store.pending().empty());
  EXPECT_EQ(ViewText(view), L"\n<Bob> see www.example.com now\n<Amy> hello\n{Ann -> me} mail me@x.org or www.b.jp\n" +
                                kHostile);
  struct {
    const wchar_t* text;
    COLORREF colour;
  } colours[] = {{L"<Amy>", RGB(0, 0, 255)},   {L"hello", RGB(0, 0, 0)},
                 {L"{Ann", RGB(0, 0, 255)},    {L"mail", RGB(255, 0, 0)},
                 {L"me@x", kAddressColour},    {L" or ", RGB(255, 0, 0)},
                 {L"www.b.jp", kAddressColour}};
  for (const auto& c : colours) EXPECT_EQ(ColourAt(view, Find(view, c.text)), c.colour) << c.text;
  wintest::CaptureWindow(dialog, "tellu_log_window_live.bmp");

  // A double click on an address opens it once the click is handled, as a
  // web page or a mail whatever the chat wrote; elsewhere nothing opens.
  const struct {
    const wchar_t* clicked;
    const char* opened;
  } clicks[] = {
      {L"c://folder", "http://c://folder/program.exe"},
      {L"file:///C:", "http://file:///C:/folder/program.exe"},
      {L"host/share", "http://file://host/share/x.exe"},
      {L"example.com", "http://www.example.com"},
      {L"me@x.org", "mailto:me@x.org"},
      {L"hello", nullptr},
  };
  for (const auto& c : clicks) {
    shell.opened.clear();
    DoubleClick(view, c.clicked);
    EXPECT_TRUE(shell.opened.empty()) << "opened inside the click's handling";
    Drain();
    EXPECT_EQ(shell.opened, c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{})
        << Sjis(c.clicked);
    EXPECT_EQ(window->view().background(), RGB(255, 255, 255));
  }
  // Frozen while the shell opens: the view shows the frozen background after it.
  COLORREF while_open = 0;
  shell.during = [&] {
    while_open = static_cast<COLORREF>(SendMessageW(view, EM_SETBKGNDCOLOR, 0, kOpeningFlash));
    Click(dialog, IDC_LOG_FREEZE);
  };
  DoubleClick(view, L"example.com");
  Drain();
  shell.during = nullptr;
  EXPECT_EQ(while_open, kOpeningFlash);
  EXPECT_EQ(window->view().background(), RGB(0, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(view, EM_SETBKGNDCOLOR, 0, RGB(0, 255, 255))),
            RGB(0, 255, 255));
  Click(dialog, IDC_LOG_FREEZE);

  // Frozen: lines wait in the store; Real appends them in one go.
  Click(dialog, IDC_LOG_FREEZE);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_LOG_FREEZE)), "Real(&R)");
  EXPECT_EQ(window->view().background(), RGB(0, 255, 255));
  EXPECT_FALSE(window->model()->wants_refresh());
  store.Append("<Cid>", "one");
  store.Append("{Dan -> me}", "two");
  InvalidateRect(dialog, nullptr, FALSE);
  Drain();
  EXPECT_EQ(store.pending().size(), 2u);
  EXPECT_EQ(ViewText(view).find(L"<Cid>"), std::wstring::npos);
  wintest::CaptureWindow(dialog, "tellu_log_window_frozen.bmp");
  Click(dialog, IDC_LOG_FREEZE);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_LOG_FREEZE)), "Freeze(&F)");
  EXPECT_EQ(window->view().background(), RGB(255, 255, 255));
  EXPECT_TRUE(store.pending().empty());
  EXPECT_EQ(ColourAt(view, Find(view, L"two")), RGB(255, 0, 0));
  EXPECT_EQ(ColourAt(view, Find(view, L"one")), RGB(0, 0, 0));

  // Whispers only hides public lines and brings them back.
  CheckDlgButton(dialog, IDC_LOG_WHISPER_ONLY, BST_CHECKED);
  Click(dialog, IDC_LOG_WHISPER_ONLY);
  EXPECT_EQ(ViewText(view), L"\n{Ann -> me} mail me@x.org or www.b.jp\n{Dan -> me} two");
  CheckDlgButton(dialog, IDC_LOG_WHISPER_ONLY, BST_UNCHECKED);
  Click(dialog, IDC_LOG_WHISPER_ONLY);
  EXPECT_EQ(ViewText(view), L"\n<Bob> see www.example.com now\n<Amy> hello\n"
                            L"{Ann -> me} mail me@x.org or www.b.jp\n" + kHostile +
                                L"\n<Cid> one\n{Dan -> me} two");

  // The store keeps 1024 entries, the view 1024 lines: the 1025th drops the
  // first.  Past the control's own limit of 32,767 characters the end still
  // comes in and is shown.
  EXPECT_GE(SendMessageW(view, EM_GETLIMITTEXT, 0, 0), 0x10000);
  for (size_t i = store.size(); i < LogStore::kCapacity; ++i)
    store.Append("<x>", std::to_string(i) + std::string(30, '-'));
  PostMessageW(dialog, kRefreshMessage, 0, 0);
  Drain();
  EXPECT_GT(GetWindowTextLengthW(view), 0x8000);
  EXPECT_EQ(SendMessageW(view, EM_GETLINECOUNT, 0, 0), kLogLineLimit);
  EXPECT_EQ(Line(view, 0), L"<Bob> see www.example.com now");
  EXPECT_EQ(WindowText(dialog), "LogDisplay (100%)");
  store.Append("<x>", "last");
  PostMessageW(dialog, kRefreshMessage, 0, 0);
  Drain();
  EXPECT_EQ(SendMessageW(view, EM_GETLINECOUNT, 0, 0), kLogLineLimit);
  EXPECT_EQ(Line(view, 0), L"<Amy> hello");
  EXPECT_EQ(Line(view, kLogLineLimit - 1), L"<x> last");
  for (int round = 0; round < 10 && !IsWindowVisible(view); ++round) Drain();
  EXPECT_GT(SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0), kLogLineLimit - 40);

  // The right-button menu: Copy only with a selection; Select all selects it all.
  CHARRANGE none{0, 0};
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
  EXPECT_TRUE(CopyGreyed(view, L'a'));
  CHARRANGE all{};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all.cpMin, 0);
  EXPECT_EQ(all.cpMax, GetWindowTextLengthW(view));
  EXPECT_FALSE(CopyGreyed(view, 0));

  // Closed while the shell opens: the owner hears of it once, the window is
  // gone, and the open finishes without it.
  store.Append("<x>", "bye www.last.jp");
  store.Append("<x>", "end");
  PostMessageW(dialog, kRefreshMessage, 0, 0);
  for (int round = 0; round < 10 && (round == 0 || !IsWindowVisible(view)); ++round) Drain();
  shell.opened.clear();
  shell.during = [&] { Click(dialog, IDC_LOG_CLOSE); };
  DoubleClick(view, L"last.jp");
  Drain();
  EXPECT_EQ(shell.opened, std::vector<std::string>{"http://www.last.jp"});
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(gone, 1);
}

// Chat text is shown as it came, whatever bytes the wire let through (a NUL
// only is left out), and a view left hidden by a quick second update is
// shown again by its timer.
TEST(TelluLogWindow, AnyChatBytesAreShownAndABurstIsShownAfterwards) {
  Owner owner;
  LogStore store;
  RecordingShell shell;
  Settings settings;
  settings.font_tenths = 110;
  LogWindow* window = LogWindow::Open(owner.hwnd(), store, shell, settings, nullptr);
  ASSERT_NE(window, nullptr);
  HWND dialog = window->hwnd();
  HWND view = GetDlgItem(dialog, IDC_LOG_VIEW);
  const struct {
    std::string sjis;
    std::wstring shown;
  } texts[] = {
      {"\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd", L"\u3053\u3093\u306b\u3061\u306f"},
      {"\x95\x5c\x83\x5c a\\b{c}d", L"\u8868\u30bd a\\b{c}d"},  // trail bytes 5C
      {"\xb1\xb2 x\x01y\tz\x7f", L"\uff71\uff72 x\x01y\tz\x7f"},
      {std::string("p\0q", 3), L"pq"},
      {"broken \x82", L"broken \u30FB"},  // a lead byte cut off shows as the middle dot
  };
  auto pump = [] {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  };
  std::wstring expected;
  for (size_t i = 0; i < std::size(texts); ++i) {
    store.Append("<p>", texts[i].sjis);
    expected += L"\n<p> " + texts[i].shown;
    if (i == 0 || i + 1 == std::size(texts)) {
      PostMessageW(dialog, kRefreshMessage, 0, 0);
      pump();
    }
  }
  EXPECT_EQ(ViewText(view), expected);
  EXPECT_EQ(SendMessageW(view, EM_GETLINECOUNT, 0, 0), static_cast<LRESULT>(std::size(texts)) + 1);
  EXPECT_EQ(ColourAt(view, Find(view, L"{c}")), RGB(0, 0, 0));
  EXPECT_EQ(ColourAt(view, Find(view, L"<p> p")), RGB(0, 0, 255));
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.yHeight, 220) << "the settings' size, in twips";
  // The control's own timers (small ids) are not the view's: one of them
  // shows nothing early.
  if (!IsWindowVisible(view)) {
    SendMessageW(view, WM_TIMER, 1, 0);
    EXPECT_FALSE(IsWindowVisible(view));
  }
  for (int round = 0; round < 10 && !IsWindowVisible(view); ++round) {
    Sleep(20);
    pump();
  }
  EXPECT_TRUE(IsWindowVisible(view));
  window->Close();
  Drain();

  // A view never made invalidates nothing: a null window is every window.
  paints = 0;
  WNDCLASSW counting{};
  counting.lpfnWndProc = CountPaints;
  counting.lpszClassName = L"TelluPaintCounter";
  RegisterClassW(&counting);
  HWND other = CreateWindowExW(0, L"TelluPaintCounter", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(other);
  Drain();
  paints = 0;
  LinkView never(shell);
  never.Invalidate();
  never.ShowIfPending();
  Drain();
  EXPECT_EQ(paints, 0);
  DestroyWindow(other);
}

// The background repeats the tile from the top-left corner, whatever the
// client size: smaller than one tile, or a tile and a half by three and a half.
TEST(TelluLogWindow, TheBackgroundRepeatsTheTileFromTheTopLeft) {
  HBITMAP tile = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                 MAKEINTRESOURCEW(IDB_LOG_TILE), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(tile, nullptr);
  BITMAP info{};
  GetObjectW(tile, sizeof info, &info);
  HDC screen = GetDC(nullptr);
  HDC tile_dc = CreateCompatibleDC(screen);
  SelectObject(tile_dc, tile);
  const SIZE sizes[] = {{10, 7}, {info.bmWidth * 7 / 2, info.bmHeight * 3 / 2}};
  for (const SIZE size : sizes) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, size.cx, size.cy, nullptr,
                                  nullptr, nullptr, nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ old = SelectObject(canvas, bits);
    EXPECT_TRUE(TilePainter(window, IDB_LOG_TILE).Paint(canvas));
    int wrong = 0;
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x)
        wrong += GetPixel(canvas, x, y) != GetPixel(tile_dc, x % info.bmWidth, y % info.bmHeight);
    EXPECT_EQ(wrong, 0) << size.cx << " x " << size.cy;
    SelectObject(canvas, old);
    DeleteObject(bits);
    DeleteDC(canvas);
    DestroyWindow(window);
  }
  DeleteDC(tile_dc);
  ReleaseDC(nullptr, screen);
  DeleteObject(tile);
}

}  // namespace
}  // namespace tellu
