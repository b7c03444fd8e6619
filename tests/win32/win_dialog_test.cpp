// The window layer: plain windows and dialogs from templates, modal and
// modeless, and the Shift-JIS text helpers.
#include "win32/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_timers.h"

namespace tellu {
namespace {

constexpr DWORD kDeadlineMs = 30000;

// A dialog template with a caption and no controls, built in memory.
class Template {
 public:
  explicit Template(const wchar_t* caption) {
    DLGTEMPLATE head{};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    head.cx = 120;
    head.cy = 60;
    words_.resize(sizeof head / sizeof(WORD));
    memcpy(words_.data(), &head, sizeof head);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    for (const wchar_t* c = caption; *c; ++c) words_.push_back(static_cast<WORD>(*c));
    words_.push_back(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;  // WORD-aligned, as a template must be
};

class RecordingDialog : public Dialog {
 public:
  std::vector<std::string> events;

 protected:
  BOOL OnInitDialog() override {
    events.push_back("init");
    return TRUE;
  }
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND && LOWORD(wparam) == 1234) {
      events.push_back("command");
      return TRUE;
    }
    return FALSE;
  }
  void Destroyed() override { events.push_back("destroyed"); }
};

class PlainWindow : public Window {
 public:
  bool Open(const wchar_t* title) {
    Class window_class{};
    window_class.name = L"TelluTestPlainWindow";
    return Create(window_class, title, WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr);
  }
  std::vector<UINT> messages;
  bool destroyed = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY ||
        message == WM_NCDESTROY || message == WM_APP)
      messages.push_back(message);
    if (message == WM_APP) return 77;
    return Window::HandleMessage(message, wparam, lparam);
  }
  void Destroyed() override { destroyed = true; }
};

TEST(WindowLayer, AWindowHearsItsMessagesFromCreationToDestruction) {
  PlainWindow window;
  ASSERT_TRUE(window.Open(L"plain"));
  ASSERT_NE(window.hwnd(), nullptr);
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP, 0, 0), 77);
  EXPECT_EQ(WindowText(window.hwnd()), "plain");
  DestroyWindow(window.hwnd());
  EXPECT_EQ(window.messages,
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_APP, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_TRUE(window.destroyed);
  EXPECT_EQ(window.hwnd(), nullptr);
}

TEST(WindowLayer, ModalDialogRunsItsLoopUntilEndAndFreesItsOwner) {
  MessageWindow events;
  WinTimers timers{events};
  PlainWindow owner;
  ASSERT_TRUE(owner.Open(L"owner"));
  RecordingDialog dialog;
  const Template tmpl(L"modal");
  bool owner_was_disabled = false;
  int ticks = 0;
  timers.Start(10, true, [&] {
    if (++ticks < 3 || !dialog.hwnd()) return;
    owner_was_disabled = !IsWindowEnabled(owner.hwnd());
    SendMessageW(dialog.hwnd(), WM_COMMAND, 1234, 0);
    dialog.End(42);
  });
  EXPECT_EQ(dialog.RunModal(owner.hwnd(), tmpl.get()), 42);
  EXPECT_TRUE(owner_was_disabled);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "command", "destroyed"}));
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(WindowLayer, ModalDialogEndedWhileItStartsNeverWaits) {
  class EndsAtOnce : public Dialog {
   protected:
    BOOL OnInitDialog() override {
      End(1);
      return TRUE;
    }
  } dialog;
  const Template tmpl(L"ends at once");
  EXPECT_EQ(dialog.RunModal(nullptr, tmpl.get()), 1);
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(WindowLayer, ModelessDialogTakesItsKeysFromAnyLoopAndCancelEndsIt) {
  RecordingDialog dialog;
  const Template tmpl(L"modeless");
  ASSERT_TRUE(dialog.CreateModeless(nullptr, tmpl.get()));
  ASSERT_NE(dialog.hwnd(), nullptr);
  EXPECT_FALSE(dialog.modal());
  // Escape reaches the dialog through the loop's keyboard navigation and
  // becomes IDCANCEL, which ends a dialog that leaves it unhandled.
  PostMessageW(dialog.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpMessagesUntil([&] { return dialog.hwnd() == nullptr; }, kDeadlineMs));
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "destroyed"}));
}

TEST(WideText, ShiftJisGoesThroughTheProgramsOwnTable) {
  // テスト表示 ｱ ～, the last (81 60) being U+FF5E in code page 932
  const std::string sjis = "\x83\x65\x83\x58\x83\x67\x95\x5C\x8E\xA6 \xB1 \x81\x60";
  const std::wstring wide = Wide(sjis);
  EXPECT_EQ(wide, L"\u30C6\u30B9\u30C8\u8868\u793A \uFF71 \uFF5E");
  EXPECT_EQ(Sjis(wide), sjis);
  // A lead byte without its trail byte shows as one mark, and the next
  // byte is kept.
  EXPECT_EQ(Wide("\x83 a"), L"\u30FB a");
}

TEST(WideText, CaptionsKeepTheirShiftJisBytes) {
  PlainWindow window;
  ASSERT_TRUE(window.Open(L""));
  const std::string caption = "RV/K3 \x83\x65\x83\x58\x83\x67 with Tellu";  // テスト
  ASSERT_TRUE(SetWindowTextSjis(window.hwnd(), caption));
  EXPECT_EQ(WindowText(window.hwnd()), caption);
  wchar_t raw[64];
  GetWindowTextW(window.hwnd(), raw, 64);
  EXPECT_EQ(std::wstring(raw), L"RV/K3 \u30C6\u30B9\u30C8 with Tellu");
}

}  // namespace
}  // namespace tellu
