// The window layer: plain windows and dialogs from templates, modal and
// modeless, the program's own loop, subclassed controls, dialog layouts and
// the Shift-JIS text helpers.
#include "win32/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "win32/dialog_layout.h"
#include "win32/message_window.h"
#include "win32/subclass.h"
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
  std::function<void(WPARAM, HWND)> on_idle;  // WM_ENTERIDLE: its kind and the dialog

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY ||
        message == WM_NCDESTROY || message == WM_APP)
      messages.push_back(message);
    if (message == WM_APP) return 77;
    if (message == WM_ENTERIDLE && on_idle) on_idle(wparam, reinterpret_cast<HWND>(lparam));
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

TEST(WindowLayer, ModalDialogTellsItsOwnerWhenItWaits) {
  PlainWindow owner;
  ASSERT_TRUE(owner.Open(L"owner"));
  RecordingDialog dialog;
  const Template tmpl(L"idle");
  WPARAM kind = 0;
  bool from_the_dialog = false;
  owner.on_idle = [&](WPARAM why, HWND who) {
    kind = why;
    from_the_dialog = who && who == dialog.hwnd();
    dialog.End(5);
  };
  EXPECT_EQ(dialog.RunModal(owner.hwnd(), tmpl.get()), 5);
  EXPECT_EQ(kind, static_cast<WPARAM>(MSGF_DIALOGBOX));
  EXPECT_TRUE(from_the_dialog);
}

TEST(WindowLayer, OwnLoopRunsWhileAskedAndLeavesAQuitToTheOuterLoop) {
  PlainWindow window;
  ASSERT_TRUE(window.Open(L"loop"));
  auto apps = [&] { return std::count(window.messages.begin(), window.messages.end(), WM_APP); };
  for (int i = 0; i < 3; ++i) PostMessageW(window.hwnd(), WM_APP, 0, 0);
  PostMessageW(window.hwnd(), WM_APP + 1, 0, 0);
  EXPECT_TRUE(RunMessagesWhile([&] { return apps() < 2; }));
  EXPECT_EQ(apps(), 2);

  std::vector<UINT> taken;
  PostQuitMessage(5);
  EXPECT_FALSE(RunMessagesWhile([] { return true; }, [&](MSG& msg) {
    if (msg.message != WM_APP + 1) return false;
    taken.push_back(msg.message);
    return true;
  }));
  EXPECT_EQ(apps(), 3);
  EXPECT_EQ(taken, std::vector<UINT>{WM_APP + 1});
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 5u);
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

class SeenControl : public SubclassedControl {
 public:
  std::vector<UINT> seen;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_APP || message == WM_SETTEXT) seen.push_back(message);
    if (message == WM_APP) return 9;
    return SubclassedControl::HandleMessage(message, wparam, lparam);
  }
};

TEST(SubclassedControl, SeesTheControlsMessagesFirstAndTheControlStillWorks) {
  PlainWindow parent;
  ASSERT_TRUE(parent.Open(L"parent"));
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20,
                              parent.hwnd(), reinterpret_cast<HMENU>(101),
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  SeenControl control;
  ASSERT_TRUE(control.Attach(edit));
  EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 9);
  ASSERT_TRUE(SetWindowTextW(edit, L"typed"));
  EXPECT_EQ(WindowText(edit), "typed");  // the edit's own procedure kept it
  EXPECT_EQ(control.seen, (std::vector<UINT>{WM_APP, WM_SETTEXT}));

  control.Detach();
  EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 0);
  EXPECT_EQ(control.seen.size(), 2u);
  ASSERT_TRUE(control.Attach(edit));
  DestroyWindow(edit);
  EXPECT_EQ(control.hwnd(), nullptr);
}

class LaidOutDialog : public Dialog {
 public:
  static constexpr int kControl = 501;
  DialogLayout layout;

 protected:
  BOOL OnInitDialog() override {
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 10, 50, 20, hwnd(),
                    reinterpret_cast<HMENU>(kControl), GetModuleHandleW(nullptr), nullptr);
    // Top-left corner fixed, bottom-right following the window's.
    const AnchoredControl controls[] = {{kControl, 0, 3}};
    layout.Capture(hwnd(), controls, 150, 90);
    return TRUE;
  }
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_SIZE) layout.OnSize(wparam);
    if (message == WM_GETMINMAXINFO) layout.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam));
    return message == WM_SIZE || message == WM_GETMINMAXINFO;
  }
};

TEST(DialogLayout, AControlFollowsTheDialogsSize) {
  LaidOutDialog dialog;
  const Template tmpl(L"layout");
  ASSERT_TRUE(dialog.CreateModeless(nullptr, tmpl.get()));
  HWND control = GetDlgItem(dialog.hwnd(), LaidOutDialog::kControl);
  ASSERT_NE(control, nullptr);
  RECT window;
  GetWindowRect(dialog.hwnd(), &window);
  SetWindowPos(dialog.hwnd(), nullptr, 0, 0, window.right - window.left + 40,
               window.bottom - window.top + 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 50 + 40);
  EXPECT_EQ(r.bottom - r.top, 20 + 30);

  MINMAXINFO limits{};
  SendMessageW(dialog.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 150);
  EXPECT_EQ(limits.ptMinTrackSize.y, 90);
  dialog.End(0);
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
