// Avatar transfers' progress windows as console text.  On a terminal one row
// at the bottom, redrawn in place, shows every live transfer; elsewhere a
// transfer gets a line when it is named and each time another quarter is
// done.  Either way a last line stays when its window closes.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace tellu {

class ProgressRow {
 public:
  // The row keeps within this many columns, so it never wraps on a
  // terminal of the usual width and one carriage return takes it back.
  static constexpr int kColumns = 79;

  // live: the output is a terminal that takes ANSI erase codes.  print puts
  // whole lines (UTF-8, with their line ends) out through the owner, which
  // erases the row before and draws it again after.
  ProgressRow(bool live, std::function<void(std::string_view)> print);
  ~ProgressRow();
  ProgressRow(const ProgressRow&) = delete;
  ProgressRow& operator=(const ProgressRow&) = delete;

  std::unique_ptr<ProgressView> Open();

  // The bytes that erase the row while it is shown, then the ones that draw
  // it again (none when nothing is to be shown, or not on a terminal).
  std::string Hide();
  std::string Show();

  // The row's text as it stands.
  std::string Text() const;

 private:
  class Line;

  bool live_;
  std::function<void(std::string_view)> print_;
  std::vector<Line*> lines_;  // in order of opening
  bool shown_ = false;
};

// Display columns of UTF-8 text, near enough for one row: wide characters
// take two, half-width katakana one.
int Columns(std::string_view utf8);

}  // namespace tellu
