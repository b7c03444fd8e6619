// Timers and deferred calls on the message window, and the message boxes
// of the Ui port, whose nested loops keep both running.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gui/host_window.h"
#include "win32/wide_text.h"
#include "win32/message_window.h"
#include "win32/win_timers.h"
#include "win32/win_ui_basic.h"

namespace tellu {
namespace {

constexpr DWORD kDeadlineMs = 30000;

// The Ui port's remaining methods belong to the input bar.
class BasicUi : public WinUiBasic {
 public:
  using WinUiBasic::WinUiBasic;
  void LogChanged() override {}
  void WhoChanged() override {}
  void StatusChanged(int) override {}
  void EnableLoginItems(bool) override {}
  void ToggleWhoWindow() override {}
  std::unique_ptr<ProgressView> OpenProgress(std::function<void()>) override { return nullptr; }
};

class WinLoopTest : public ::testing::Test {
 protected:
  // Presses a button of the message box captioned `caption` once it shows.
  void PressWhenShown(const std::string& caption, int button) {
    presser = timers.Start(20, true, [this, caption, button] {
      if (HWND box = FindTopLevelWindow(caption)) {
        timers.Cancel(presser);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      }
    });
  }

  MessageWindow events;
  WinTimers timers{events};
  Timers::Id presser = 0;
};

TEST_F(WinLoopTest, OneShotFiresOnceAndRepeatingUntilCancelled) {
  int once = 0, repeated = 0;
  timers.Start(10, false, [&] { ++once; });
  Timers::Id repeat = 0;
  repeat = timers.Start(10, true, [&] {
    if (++repeated == 3) timers.Cancel(repeat);
  });
  const Timers::Id cancelled = timers.Start(10, false, [&] { ADD_FAILURE() << "cancelled timer"; });
  timers.Cancel(cancelled);
  int marker = 0;
  timers.Start(300, false, [&] { marker = 1; });
  ASSERT_TRUE(PumpMessagesUntil([&] { return marker == 1; }, kDeadlineMs));
  EXPECT_EQ(once, 1);
  EXPECT_EQ(repeated, 3);
}

TEST_F(WinLoopTest, AOneShotTimerMayStartAnotherFromItsCall) {
  std::vector<int> order;
  timers.Start(10, false, [&] {
    order.push_back(1);
    timers.Start(10, false, [&] { order.push_back(2); });
  });
  ASSERT_TRUE(PumpMessagesUntil([&] { return order.size() == 2; }, kDeadlineMs));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

// Seconds of a calendar time counted from year 0, enough to order two
// readings taken moments apart.
long long Seconds(int y, int mo, int d, int h, int mi, int s) {
  return ((((y * 12LL + mo) * 31 + d) * 24 + h) * 60 + mi) * 60 + s;
}
long long Seconds(const SYSTEMTIME& t) {
  return Seconds(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// The tests run on Tokyo's time (TZ in the test's environment), nine hours
// from UTC: a clock that is UTC, or that stands still, falls outside.
TEST_F(WinLoopTest, NowIsTheLocalClock) {
  SYSTEMTIME before, after, utc;
  GetLocalTime(&before);
  const LocalTime now = timers.Now();
  GetLocalTime(&after);
  GetSystemTime(&utc);
  ASSERT_NE(before.wHour, utc.wHour) << "the test needs a local time that is not UTC";
  const long long at = Seconds(now.year, now.month, now.day, now.hour, now.minute, now.second);
  EXPECT_LE(Seconds(before), at);
  EXPECT_LE(at, Seconds(after));
}

TEST_F(WinLoopTest, DeferredCallsRunInOrderAfterTheCaller) {
  std::vector<int> order;
  events.Defer([&] {
    order.push_back(1);
    events.Defer([&] { order.push_back(3); });
  });
  events.Defer([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  ASSERT_TRUE(PumpMessagesUntil([&] { return order.size() == 3; }, kDeadlineMs));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(WinLoopTest, ABoxOpenedByADeferredCallRunsTheCallsBehindItAndDuringIt) {
  const std::string caption = "Tellu nested " + std::to_string(GetCurrentProcessId());
  std::string order;
  events.Defer([&] {
    order += "box(";
    MessageBoxW(nullptr, L"open", Wide(caption).c_str(), MB_OK);
    order += ")";
  });
  events.Defer([&] { order += "b"; });
  // While the box is open: a timer queues one more, and the box is closed
  // once every call has run inside its loop.
  timers.Start(20, false, [&] {
    if (FindTopLevelWindow(caption)) events.Defer([&] { order += "c"; });
  });
  presser = timers.Start(20, true, [&] {
    HWND box = FindTopLevelWindow(caption);
    if (box && order.find('c') != std::string::npos) {
      timers.Cancel(presser);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  ASSERT_TRUE(PumpMessagesUntil([&] { return order.back() == ')'; }, kDeadlineMs)) << order;
  EXPECT_EQ(order, "box(bc)");
}

// The visible windows whose caption is *first, gathered into second.
BOOL CALLBACK CollectCaptioned(HWND w, LPARAM found) {
  auto& b = *reinterpret_cast<std::pair<const std::wstring*, std::vector<HWND>>*>(found);
  wchar_t text[64] = L"";
  GetWindowTextW(w, text, 64);
  if (IsWindowVisible(w) && *b.first == text) b.second.push_back(w);
  return TRUE;
}

TEST_F(WinLoopTest, NoticesAndQuestionsShowOneAtATimeInTurn) {
  BasicUi ui(events);
  const std::wstring caption = L"Tellu turn " + std::to_wstring(GetCurrentProcessId());
  std::vector<std::wstring> shown;
  size_t most_open = 0;
  presser = timers.Start(20, true, [&] {
    // The visible boxes of this thread with the caption.
    std::pair<const std::wstring*, std::vector<HWND>> boxes{&caption, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectCaptioned, reinterpret_cast<LPARAM>(&boxes));
    const std::vector<HWND>& open = boxes.second;
    most_open = std::max(most_open, open.size());
    if (open.empty()) return;
    wchar_t text[64] = L"";
    GetDlgItemTextW(open.back(), 0xFFFF, text, 64);  // a message box's text
    shown.push_back(text);
    // The question's No, the notices' OK.
    PostMessageW(open.back(), WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    PostMessageW(open.back(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  std::vector<bool> answers;
  ui.Notice("first", Sjis(caption), NoticeIcon::None);
  ui.Ask("second", Sjis(caption), [&](bool yes) { answers.push_back(yes); });
  ui.Notice("third", Sjis(caption), NoticeIcon::None);
  ASSERT_TRUE(PumpMessagesUntil([&] { return shown.size() >= 3 && !FindTopLevelWindow(Sjis(caption)); },
                                kDeadlineMs));
  timers.Cancel(presser);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"first", L"second", L"third"}));
  EXPECT_EQ(answers, std::vector<bool>{false});
  EXPECT_EQ(most_open, 1u);
}

TEST_F(WinLoopTest, AskAnswersAfterTheBoxWhileTimersKeepRunning) {
  BasicUi ui(events);
  const std::string caption = "Tellu ask " + std::to_string(GetCurrentProcessId());
  int ticks_while_open = 0;
  std::vector<bool> answers;
  const Timers::Id heartbeat = timers.Start(10, true, [&] {
    if (FindTopLevelWindow(caption)) ++ticks_while_open;
  });
  PressWhenShown(caption, IDYES);
  ui.Ask("\x91\x97\x90\x4D\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48", caption,  // 送信しますか？
         [&](bool yes) { answers.push_back(yes); });
  EXPECT_TRUE(answers.empty()) << "the question is asked from the loop";
  ASSERT_TRUE(PumpMessagesUntil([&] { return !answers.empty(); }, kDeadlineMs));
  timers.Cancel(heartbeat);
  EXPECT_EQ(answers, std::vector<bool>{true});
  EXPECT_GT(ticks_while_open, 0);
  EXPECT_EQ(FindTopLevelWindow(caption), nullptr);

  PressWhenShown(caption, IDNO);
  ui.Ask("again", caption, [&](bool yes) { answers.push_back(yes); });
  ASSERT_TRUE(PumpMessagesUntil([&] { return answers.size() == 2; }, kDeadlineMs));
  EXPECT_EQ(answers, (std::vector<bool>{true, false}));
}

TEST_F(WinLoopTest, NoticeReturnsWhenTheBoxIsClosed) {
  BasicUi ui(events);
  const std::string caption = "Tellu notice " + std::to_string(GetCurrentProcessId());
  PressWhenShown(caption, IDOK);
  ui.Notice("cann't find RV/K", caption, NoticeIcon::Stop);
  EXPECT_EQ(FindTopLevelWindow(caption), nullptr);
}

}  // namespace
}  // namespace tellu
