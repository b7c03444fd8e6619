// The About box, the startup notice and the resource script as the program
// loads them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "chat/status.h"
#include "res/resource.h"
#include "text/sjis.h"
#include "gui/about_dlg.h"
#include "win32/bmp_menu_capture.h"
#include "gui/startup_notice.h"
#include "win32/window.h"

namespace tellu {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::wstring Wide(std::string_view sjis) {
  std::u16string u = text::SjisToUtf16(sjis);
  return std::wstring(u.begin(), u.end());
}

std::wstring TextOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring s(size_t(n) + 1, L'\0');
  GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(size_t(n));
  return s;
}

// A plain visible window that runs `on_idle` once when a dialog it owns
// waits for input.  Without a caption Wine does not hand the window to a
// window manager, and so does not wait for one that a headless X server lacks.
struct Owner : Window {
  std::function<void(HWND dialog)> on_idle;

  Owner() {
    Create({L"AboutTestOwner"}, L"owner", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 30, 30, 200, 120,
           nullptr);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_ENTERIDLE && wp == MSGF_DIALOGBOX && on_idle) {
      auto run = std::move(on_idle);
      on_idle = nullptr;
      run(reinterpret_cast<HWND>(lp));
      return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
  }
};

// ---------------------------------------------------------------- About box

// The Shell port: what the box opened, and the window active at the time.
HWND opened_by = nullptr;
std::wstring opened;
struct RecordingShell : Shell {
  bool Open(const std::string& document) override {
    opened_by = GetActiveWindow();
    opened = Wide(document);
    return true;
  }
  bool Start(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
} shell;

// "Free Memory ... \r\n" then "不明", as the information command composes it.
constexpr char kInfo[] = "Free Memory   1024 KB / 2048 KB\r\n\x95\x73\x96\xbe";

TEST(AboutBox, ShowsItsTextsAndRepaintsThemUnchanged) {
  Owner owner;
  opened.clear();
  std::wstring caption, info, page, version;
  Pixels painted, repainted;
  bool open_after_click = false;
  owner.on_idle = [&](HWND dlg) {
    caption = TextOf(dlg);
    info = TextOf(GetDlgItem(dlg, IDC_ABOUT_INFO));
    page = TextOf(GetDlgItem(dlg, IDC_ABOUT_HOMEPAGE));
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      std::wstring t = TextOf(c);
      if (t.find(L"0.17j") != std::wstring::npos) version = t;
    }
    painted = wintest::ScreenPixels(dlg);
    wintest::CaptureWindow(dlg, "about_box.bmp", &repainted);
    SendMessageW(GetDlgItem(dlg, IDC_ABOUT_HOMEPAGE), BM_CLICK, 0, 0);
    open_after_click = IsWindow(dlg);
    PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(RunAboutBox(owner.hwnd(), kInfo, shell), IDOK);

  EXPECT_EQ(caption, L"Message from Tellu");
  EXPECT_EQ(info, Wide(kInfo));
  EXPECT_EQ(info, L"Free Memory   1024 KB / 2048 KB\r\n\x4e0d\x660e");
  EXPECT_EQ(page, kHomePage);
  // Painted again over itself, the box looks exactly as it did: something
  // drawn there, and not one pixel changed.
  ASSERT_FALSE(painted.px.empty());
  EXPECT_NE(std::count(painted.px.begin(), painted.px.end(), painted.px[0]),
            std::ptrdiff_t(painted.px.size()));
  EXPECT_EQ(repainted.width, painted.width);
  EXPECT_EQ(repainted.height, painted.height);
  EXPECT_TRUE(repainted.px == painted.px);
  EXPECT_NE(version.find(L"2002/02/03"), std::wstring::npos);
  EXPECT_NE(version.find(L"\x3000"), std::wstring::npos);  // ideographic spaces
  EXPECT_EQ(opened, kHomePage);
  EXPECT_NE(opened_by, nullptr);
  EXPECT_TRUE(open_after_click);
}

TEST(AboutBox, EscapeClosesIt) {
  Owner owner;
  owner.on_idle = [](HWND dlg) {
    PostMessageW(GetFocus() ? GetFocus() : dlg, WM_KEYDOWN, VK_ESCAPE, 1);
  };
  EXPECT_EQ(RunAboutBox(owner.hwnd(), "", shell), IDCANCEL);
}

// ---------------------------------------------------------------- notice

TEST(StartupNotice, ResizingKeepsTheCentre) {
  // Even and odd differences: integer halves, the centre moves at most half a pixel.
  auto centre2 = [](const RECT& r) {  // twice the centre, to stay in integers
    return std::make_pair(r.left + r.right, r.top + r.bottom);
  };
  RECT odd{100, 50, 357, 225};  // 257 x 175 grows to 326 x 218
  RECT r = StartupNotice::AroundPicture(odd, {318, 210});
  EXPECT_EQ(r.right - r.left, 326);
  EXPECT_EQ(r.bottom - r.top, 218);
  EXPECT_LE(std::abs(centre2(r).first - centre2(odd).first), 1);
  EXPECT_LE(std::abs(centre2(r).second - centre2(odd).second), 1);
  RECT even{0, 0, 400, 300};  // shrinks
  RECT s = StartupNotice::AroundPicture(even, {318, 210});
  EXPECT_EQ(centre2(s), centre2(even));
  EXPECT_EQ(s.left, 37);
  EXPECT_EQ(s.top, 41);
}

TEST(StartupNotice, ShowsThePictureAndIsDraggedByAnyPoint) {
  Owner owner;
  StartupNotice notice;
  ASSERT_TRUE(notice.Create(owner.hwnd()));
  HWND w = notice.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner.hwnd());

  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 318 + 8);
  EXPECT_EQ(r.bottom - r.top, 210 + 8);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &mi);
  EXPECT_NEAR((r.left + r.right) / 2, (mi.rcWork.left + mi.rcWork.right) / 2, 2);
  EXPECT_NEAR((r.top + r.bottom) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 2);

  for (POINT p : {POINT{r.left + 5, r.top + 5}, POINT{(r.left + r.right) / 2, r.bottom - 30},
                  POINT{r.right - 3, r.bottom - 3}}) {
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCAPTION);
  }

  HWND line = GetDlgItem(w, IDC_NOTICE_TEXT);
  EXPECT_EQ(TextOf(line), L"");
  RECT lr;
  GetWindowRect(line, &lr);
  MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&lr), 2);
  int h = lr.bottom - lr.top;
  EXPECT_EQ(lr.right - lr.left, 318 * 8 / 10);
  EXPECT_EQ(lr.left, (318 - 318 * 8 / 10) / 2);
  EXPECT_EQ(lr.top, 210 - 2 * h);

  notice.BringToFront();
  wintest::CaptureWindow(w, "startup_notice.bmp");
  notice.Destroy();
  EXPECT_EQ(notice.Window(), nullptr);
  EXPECT_FALSE(IsWindow(w));
}

TEST(StartupNotice, ForgetsItsWindowWhateverDestroysIt) {
  Owner owner;
  StartupNotice notice;
  ASSERT_TRUE(notice.Create(owner.hwnd()));
  DestroyWindow(owner.hwnd());  // owned windows go with their owner
  EXPECT_EQ(notice.Window(), nullptr);
  notice.Destroy();
}

// ---------------------------------------------------------------- resources

TEST(Resources, StringTableHoldsTheSystemMenuTexts) {
  const std::pair<int, std::string_view> texts[] = {
      {100, ""},
      {101, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1 (&A)..."},  // ﾊﾞｰｼﾞｮﾝ情報 (&A)...
      {102, "\xD2\xAF\xBE\xB0\xBC\xDE\xC3\xB0\xCC\xDE\xD9(&T)"},      // ﾒｯｾｰｼﾞﾃｰﾌﾞﾙ(&T)
      {103, "\xDB\xB8\xDE\x95\x5C\x8E\xA6(&L)"},                      // ﾛｸﾞ表示(&L)
      {104, "\x90\xDD\x92\xE8(&S)"},                                  // 設定(&S)
      {105, "\xD8\xB1\xD9\xC0\xB2\xD1Who\x95\x5C\x8E\xA6(&W)"},       // ﾘｱﾙﾀｲﾑWho表示(&W)
      {106, "\xB1\xCA\xDE\xC0\x95\xCF\x8D\x58(&K)"},                  // ｱﾊﾞﾀ変更(&K)
      {107, "Free Memory   %lu KB / %lu KB\r\n"},
      {108, "Disk Space  %lu KB (Disk %c:)"},
      {109, "\x95\x73\x96\xBE"},                                      // 不明
      {110, "\xB1\xCA\xDE\xC0\xCC\xA7\xB2\xD9\x97\x76\x8B\x81(&R)"},  // ｱﾊﾞﾀﾌｧｲﾙ要求(&R)
      {111, "\xCD\xD9\xCC\xDF(&H)"},                                  // ﾍﾙﾌﾟ(&H)
      {112, ""},
  };
  for (const auto& [id, text] : texts) {
    wchar_t buf[128];
    int n = LoadStringW(Instance(), UINT(id), buf, 128);
    EXPECT_EQ(std::wstring(buf, size_t(n > 0 ? n : 0)), Wide(text)) << id;
  }
}

TEST(Resources, PicturesHaveTheirSizes) {
  auto size_of = [](int id) {
    HBITMAP b = static_cast<HBITMAP>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm{};
    if (b) GetObjectW(b, sizeof(bm), &bm);
    DeleteObject(b);
    return std::make_pair(int(bm.bmWidth), int(bm.bmHeight));
  };
  EXPECT_EQ(size_of(IDB_STARTUP), std::make_pair(318, 210));
  EXPECT_EQ(size_of(IDB_LOG_TILE), std::make_pair(34, 33));
  for (int id : {150, 151, 152, 156, 157, 158, 160, 163, 164, 165, 166, 167, 168, 169, 171}) {
    EXPECT_EQ(size_of(id), std::make_pair(14, 15)) << id;
  }
  for (const StatusMenuItem& item : StatusMenu()) {
    EXPECT_EQ(size_of(item.bitmap), std::make_pair(14, 15)) << item.bitmap;
  }
  EXPECT_NE(LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_TELLU)), nullptr);
  EXPECT_NE(LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_AWAY)), nullptr);
  EXPECT_NE(LoadCursorW(Instance(), MAKEINTRESOURCEW(IDC_HAND_OPEN)), nullptr);
  EXPECT_NE(LoadCursorW(Instance(), MAKEINTRESOURCEW(IDC_HAND_POINT)), nullptr);
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Every dialog of the program opens from the script with its controls.
TEST(Resources, EveryDialogOpensWithItsControls) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  struct Case {
    int dialog;
    std::vector<int> controls;
    const wchar_t* caption;
  };
  const Case cases[] = {
      {IDD_ABOUTBOX, {IDOK, IDC_ABOUT_INFO, IDC_ABOUT_HOMEPAGE}, L"Message from Tellu"},
      {IDD_TELLU_DIALOG, {IDOK, IDC_BAR_EDIT, IDC_BAR_WHO, IDC_BAR_MESSAGE_TABLE, IDC_BAR_STATUS},
       nullptr},
      {IDD_TRANSFER,
       {IDCANCEL, IDC_TRANSFER_MESSAGE, IDC_TRANSFER_PROGRESS, IDC_TRANSFER_PERCENT,
        IDC_TRANSFER_FACE},
       nullptr},
      {IDD_MESSAGE_TABLE, {1001, 1008, 1009, 1016}, L"\xFF92\xFF6F\xFF7E\xFF70\xFF7C\xFF9E\xFF83\xFF70\xFF8C\xFF9E\xFF99"},
      {IDD_LOG_WINDOW, {IDC_LOG_VIEW, IDC_LOG_FREEZE, IDC_LOG_CLOSE, IDC_LOG_WHISPER_ONLY},
       L"LogDisplay"},
      {IDD_SETTINGS,
       {1011, 1012, 1013, 1014, 1015, 1017, 1019, 1032, 1036, 1048, 1049, 1050, 1051, 1052, 1056,
        1057, 1058, 1060, IDOK, IDCANCEL},
       L"Tellu\x306E\x8A2D\x5B9A"},
      {IDD_WHO_WINDOW, {IDC_WHO_LIST}, nullptr},
      {IDD_STARTUP_NOTICE, {IDC_NOTICE_TEXT}, nullptr},
  };
  for (const Case& c : cases) {
    HWND dlg = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(c.dialog), nullptr, Quiet, 0);
    ASSERT_NE(dlg, nullptr) << c.dialog;
    for (int id : c.controls) EXPECT_NE(GetDlgItem(dlg, id), nullptr) << c.dialog << " " << id;
    if (c.caption) {
      EXPECT_EQ(TextOf(dlg), c.caption) << c.dialog;
    }
    DestroyWindow(dlg);
  }
}

TEST(Resources, TheInputBarsEditIsItsSecondChildAndTheSendButtonHidden) {
  HWND bar = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(IDD_TELLU_DIALOG), nullptr, Quiet, 0);
  ASSERT_NE(bar, nullptr);
  HWND first = GetWindow(bar, GW_CHILD);
  EXPECT_EQ(GetDlgCtrlID(GetWindow(first, GW_HWNDNEXT)), IDC_BAR_EDIT);
  HWND send = GetDlgItem(bar, IDOK);
  EXPECT_FALSE(GetWindowLongW(send, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(TextOf(send), L"\x9001\x4FE1(&S)");
  LONG edit_style = GetWindowLongW(GetDlgItem(bar, IDC_BAR_EDIT), GWL_STYLE);
  EXPECT_TRUE(edit_style & ES_MULTILINE);
  EXPECT_FALSE(edit_style & ES_WANTRETURN);
  EXPECT_TRUE(GetWindowLongW(bar, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  DestroyWindow(bar);
}

}  // namespace
}  // namespace tellu
