// LinkView: the log window's read-only rich edit view.  Text is only appended,
// each piece in a chosen colour, addresses in magenta; a double click on an
// address opens it with the shell, and the view can keep only its last lines.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>
#include <string_view>

#include "platform/shell.h"
#include "win32/subclass.h"

namespace tellu {

inline constexpr COLORREF kAddressColour = RGB(255, 0, 255);
inline constexpr COLORREF kOpeningFlash = RGB(255, 255, 0);
inline constexpr int kCopyCommand = 144;
inline constexpr int kSelectAllCommand = 145;

class LinkView : public SubclassedControl {
 public:
  explicit LinkView(Shell& shell) : shell_(shell) {}

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
  // Between these, appends are not drawn and the line limit is applied once,
  // at the end: a burst of lines costs one trim and one redraw.
  void BeginBatch();
  void EndBatch();
  // All text takes the new font, in black.
  void SetViewFont(int font_tenths, const std::string& face);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  CHARFORMATW DefaultFormat() const;
  void CaretToEnd();
  void TrimToLimit();
  // True when the click was on an address, which was then opened.
  bool OpenClickedAddress(LPARAM point);
  void ShowMenu();

  Shell& shell_;
  bool narrow_ranges_ = false;
  int line_limit_ = 0;
  bool batch_ = false;
  COLORREF insert_colour_ = RGB(0, 0, 0);
  COLORREF background_ = RGB(255, 255, 255);
  int font_tenths_ = 0;
  std::string face_;
};

}  // namespace tellu
