// Finding the host window by its exact caption and the recheck walk down
// the Z order, on windows of this process.
#include "gui/host_window.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/wide_text.h"
#include "win32/window.h"

namespace tellu {
namespace {

class Captioned : public Window {
 public:
  explicit Captioned(const std::string& caption) {
    Class window_class{};
    window_class.name = L"TelluTestCaptioned";
    Create(window_class, Wide(caption).c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 0, 50, 50,
           nullptr);
  }
  // Just below `above` in the Z order.
  void PutBelow(HWND above) {
    SetWindowPos(hwnd(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
};

class HostWindowTest : public ::testing::Test {
 protected:
  const std::string title = "RV/K3 test " + std::to_string(GetCurrentProcessId());
};

TEST_F(HostWindowTest, TheCaptionMustMatchExactly) {
  Captioned host(title);
  ASSERT_NE(host.hwnd(), nullptr);
  EXPECT_EQ(FindTopLevelWindow(title), host.hwnd());
  std::string upper = title;
  upper[1] = 'v';
  EXPECT_EQ(FindTopLevelWindow(upper), nullptr);
  EXPECT_EQ(FindTopLevelWindow(title.substr(0, title.size() - 1)), nullptr);
  EXPECT_EQ(FindTopLevelWindow(title + " "), nullptr);
  EXPECT_EQ(FindTopLevelWindow(""), nullptr);
}

TEST_F(HostWindowTest, ShiftJisTitlesAreComparedAsText) {
  const std::string sjis = title + " \x83\x65\x83\x58\x83\x67";  // テスト
  Captioned host(sjis);
  EXPECT_EQ(FindTopLevelWindow(sjis), host.hwnd());
  EXPECT_EQ(WindowText(host.hwnd()), sjis);
}

TEST_F(HostWindowTest, RecheckWalksDownFromTheFirstMatch) {
  Captioned first(title), second(title), other_below("unrelated below"),
      other_above("unrelated above");
  second.PutBelow(first.hwnd());
  other_below.PutBelow(second.hwnd());
  first.PutBelow(other_above.hwnd());
  ASSERT_EQ(FindTopLevelWindow(title), first.hwnd());
  EXPECT_TRUE(RecheckHostWindow(title, first.hwnd()));
  EXPECT_TRUE(RecheckHostWindow(title, second.hwnd()));
  // The walk meets any window below the first match, whatever its caption.
  EXPECT_TRUE(RecheckHostWindow(title, other_below.hwnd()));
  EXPECT_FALSE(RecheckHostWindow(title, other_above.hwnd()));
  EXPECT_FALSE(RecheckHostWindow(title, nullptr));
  EXPECT_FALSE(RecheckHostWindow(title + "x", first.hwnd()));
}

TEST_F(HostWindowTest, AGoneHostFailsTheRecheck) {
  auto host = std::make_unique<Captioned>(title);
  const HWND handle = host->hwnd();
  ASSERT_TRUE(RecheckHostWindow(title, handle));
  host.reset();
  EXPECT_FALSE(RecheckHostWindow(title, handle));
}

TEST_F(HostWindowTest, TheLaunchersTagIsTheOneWithAFullStop) {
  EXPECT_FALSE(HostTaggedByLauncher(title));
  Captioned attached(title + " with Tellu");
  EXPECT_FALSE(HostTaggedByLauncher(title));
  Captioned launched(title + " with Tellu.");
  EXPECT_TRUE(HostTaggedByLauncher(title));
}

}  // namespace
}  // namespace tellu
