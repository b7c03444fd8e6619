// Attach-mode typing and clicking into a real host window: fakehost's
// record of what it was sent and posted.
#include "gui/host_typing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bar/host_typing_model.h"
#include "fakehost_process.h"
#include "gui/host_window.h"
#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_timers.h"

namespace tellu {
namespace {

using wintest::Join;
using wintest::kActivation;
using wintest::kDeactivation;
using wintest::Lines;
using wintest::PostedKeys;
using wintest::SentMessages;
using wintest::FakeHost;

// The keys the typing model posts for `text`, as fakehost records them: the
// bytes themselves are the model's tests' to pin; here they must arrive.
Lines Keys(std::string_view text) {
  Lines out;
  for (const HostStep& s : CharacterSteps(text)) {
    if (s.kind != HostStep::Kind::Post) continue;
    const char* name = s.message == hostmsg::kChar      ? "WM_CHAR"
                       : s.message == hostmsg::kKeyDown ? "WM_KEYDOWN"
                                                        : "WM_KEYUP";
    char line[64];
    std::snprintf(line, sizeof line, "P %s %x %x", name, static_cast<unsigned>(s.wparam),
                  static_cast<unsigned>(s.lparam));
    out.push_back(line);
  }
  return out;
}

class HostTypingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.started()) << "no fakehost at TELLU_FAKEHOST";
    window = host.WaitForWindow(title);
    ASSERT_NE(window, nullptr);
    // Tellu tags the caption it found, and checks it before each delivery.
    ASSERT_TRUE(SetWindowTextSjis(window, tagged));
    sender.SetHost(window, tagged, GetSystemMetrics(SM_CYCAPTION));
  }

  // Runs the delivery to its end, counting the ticks of a timer of our own
  // meanwhile.
  void RunToEnd(bool& done) {
    const Timers::Id heartbeat = timers.Start(10, true, [this] { ++ticks; });
    ASSERT_TRUE(PumpMessagesUntil([&] { return done; }, 30000));
    timers.Cancel(heartbeat);
    ASSERT_TRUE(host.Settle(window));
  }

  const std::string title = "Tellu typing test " + std::to_string(GetCurrentProcessId());
  const std::string tagged = title + " with Tellu";
  FakeHost host{L"--title \"" + Wide(title) + L"\""};
  HWND window = nullptr;
  MessageWindow events;
  WinTimers timers{events};
  WinHostSender sender;
  int lost = 0;
  HostTypingQueue queue{timers, sender, [this] { ++lost; }};
  int ticks = 0;
};

TEST_F(HostTypingTest, MarkupIsTypedFullWidthAndTheLineEndsInEnter) {
  bool done = false;
  queue.Type("a<b", [&] { done = true; });
  // The pauses are timers: the call returns with the delivery under way.
  EXPECT_FALSE(done);
  EXPECT_TRUE(queue.busy());
  RunToEnd(done);
  EXPECT_GT(ticks, 0) << "the loop ran while the characters were paced";
  const Lines record = host.Lines();
  EXPECT_EQ(SentMessages(record), Join({kActivation, kDeactivation}));
  EXPECT_EQ(PostedKeys(record), Keys("a<b"));
  EXPECT_EQ(lost, 0);
}

TEST_F(HostTypingTest, TwoLinesAndASecondDeliveryInTurn) {
  int done = 0;
  bool all = false;
  queue.Type("ab\r\ncd", [&] { ++done; });
  queue.Type("\x83\x7E", [&] {  // ミ
    ++done;
    all = true;
  });
  RunToEnd(all);
  EXPECT_EQ(done, 2);
  const Lines record = host.Lines();
  EXPECT_EQ(SentMessages(record), Join({kActivation, kDeactivation, kActivation, kDeactivation}));
  EXPECT_EQ(PostedKeys(record), Join({Keys("ab\r\ncd"), Keys("\x83\x7E")}));
}

TEST_F(HostTypingTest, ClickGoesToTheClientPointAndPutsTheCursorBack) {
  POINT before;
  ASSERT_TRUE(SetCursorPos(3, 4));
  GetCursorPos(&before);
  bool done = false;
  queue.Click(10, 20, [&] { done = true; });
  RunToEnd(done);
  POINT after;
  GetCursorPos(&after);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  char hwnd[32];
  snprintf(hwnd, sizeof hwnd, "%llx",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  const std::string h = hwnd;
  EXPECT_EQ(SentMessages(host.Lines()),
            Join({kActivation,
                  {"S WM_MOUSEACTIVATE " + h + " 2010001", "S WM_MOUSEMOVE 49e20000 14000b",
                   "S WM_MOUSEMOVE 49e20000 14000a", "S WM_SETCURSOR " + h + " 2000002",
                   "S WM_LBUTTONDOWN 49e20001 14000a", "S WM_LBUTTONUP 49e20000 14000a"},
                  kDeactivation}));
  EXPECT_TRUE(PostedKeys(host.Lines()).empty());
}

TEST_F(HostTypingTest, AHostWindowThatLostItsCaptionIsNotTypedInto) {
  // No window carries the tagged caption any more: nothing is typed, and
  // the owner hears that the host is gone.
  ASSERT_TRUE(SetWindowTextSjis(window, title));
  bool done = false;
  queue.Type("x", [&] { done = true; });
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(done);
  EXPECT_FALSE(queue.busy());
  ASSERT_TRUE(host.Settle(window));
  EXPECT_TRUE(SentMessages(host.Lines()).empty());
  EXPECT_TRUE(PostedKeys(host.Lines()).empty());
}

}  // namespace
}  // namespace tellu
