// LinkView: the log window's read-only rich edit view.  Text is only appended,
// each piece in a chosen colour, addresses in magenta; a double click on an
// address opens it with the shell, and the view can keep only its last lines.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"
#include "win32/subclass.h"

namespace tellu {

inline constexpr COLORREF kAddressColour = RGB(255, 0, 255);
inline constexpr COLORREF kOpeningFlash = RGB(255, 255, 0);
inline constexpr int kCopyCommand = 144;
inline constexpr int kSelectAllCommand = 145;
// Sent to the owner as WM_COMMAND: the menu's "Find...(&F)" and Ctrl+F, and F3.
inline constexpr int kFindCommand = 146;
inline constexpr int kFindNextCommand = 147;

class LinkView : public SubclassedControl {
 public:
  explicit LinkView(Shell& shell) : shell_(shell) {}
  ~LinkView() override { *alive_ = false; }

  // Replaces the owner's control `id` by the view, with the same id and place.
  bool CreateFromPlaceholder(HWND owner, int id, int font_tenths, const std::string& face);

  void SetLineLimit(int lines) { line_limit_ = lines; }
  void SetBackground(COLORREF colour);
  COLORREF background() const { return background_; }
  void SetInsertColour(COLORREF colour) { insert_colour_ = colour; }
  COLORREF insert_colour() const { return insert_colour_; }
  // Shift-JIS text at the end, in the insertion colour.
  void AppendPlain(std::string_view sjis);
  // The same, with every address in magenta.
  void AppendText(std::string_view sjis);
  // Pieces of text in their own colours, put in at the end together.
  struct Run {
    COLORREF colour;
    std::string_view sjis;
  };
  void AppendRuns(const std::vector<Run>& runs);
  // The runs of `sjis` in `colour`, its addresses in magenta, added to `runs`.
  static void AddRuns(std::string_view sjis, COLORREF colour, std::vector<Run>& runs);
  // Between these, appends are not drawn and the line limit is applied once,
  // at the end: a burst of lines costs one trim and one redraw, and bursts
  // close together share their redraw.
  void BeginBatch();
  void EndBatch();
  // A view whose redraw waits for its timer is drawn now: the owner calls it
  // before it paints over the view's place, which a hidden view would leave
  // blank until then.
  void ShowIfPending() {
    if (show_pending_) Show();
  }
  // The whole view drawn again; nothing before it was made.
  void Invalidate();
  // While held (the Find dialog is open), new lines leave the selection
  // where it is, on the same text, instead of taking the caret to the end;
  // the selection also shows while the view has no focus.
  void HoldSelection(bool hold);
  // All text takes the new font, in black.
  void SetViewFont(int font_tenths, const std::string& face);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  CHARFORMATW DefaultFormat() const;
  void CaretToEnd();
  // Redraw on again and the whole view drawn anew.
  void Show();
  void TrimToLimit();
  // True when the click was on an address, which is then opened once the
  // click's handling is over.
  bool OpenClickedAddress(LPARAM point);
  // The shell can run a message loop of its own (an error box, a security
  // prompt) in which the owner may be closed or frozen.
  void OpenPending();
  void ShowMenu();
  // A command for the owner, as WM_COMMAND from the view.
  void TellOwner(int command);
  // The selection again after an append, or the caret at the end.
  void PlaceSelection(LONG from, LONG to);

  Shell& shell_;
  bool narrow_ranges_ = false;
  int line_limit_ = 0;
  bool hold_ = false;
  bool batch_ = false;
  static constexpr ULONGLONG kShowInterval = 40;  // milliseconds
  bool show_pending_ = false;  // redraw off until the timer shows the view
  ULONGLONG shown_at_ = 0;
  // The control sets timers of its own on its window, with small ids; the
  // address of a member of this object is one it cannot be using.
  UINT_PTR ShowTimer() const { return reinterpret_cast<UINT_PTR>(&shown_at_); }
  std::string pending_open_;
  // False once the view is gone, for a shell call that outlives it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  COLORREF insert_colour_ = RGB(0, 0, 0);
  COLORREF background_ = RGB(255, 255, 255);
  int font_tenths_ = 0;
  std::string face_;
};

}  // namespace tellu
