#include "console/progress_row.h"

#include <algorithm>
#include <cstdint>

#include "console/display_text.h"

namespace tellu {
namespace {

constexpr char kClosed[] = "(closed)";
constexpr char kBetween[] = "  |  ";
constexpr char kErase[] = "\r\x1b[K";

size_t SequenceLength(unsigned char lead) {
  return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

int CodePointColumns(std::string_view utf8, size_t at, size_t n) {
  if (n == 4) return 2;
  if (n != 3 || at + 2 >= utf8.size()) return 1;
  const uint32_t cp = (static_cast<unsigned char>(utf8[at]) & 0x0Fu) << 12 |
                      (static_cast<unsigned char>(utf8[at + 1]) & 0x3Fu) << 6 |
                      (static_cast<unsigned char>(utf8[at + 2]) & 0x3Fu);
  return cp >= 0x1100 && !(cp >= 0xFF61 && cp <= 0xFF9F) ? 2 : 1;
}

// The longest head of the text within the given columns.
std::string CutToColumns(std::string_view utf8, int columns) {
  int used = 0;
  size_t at = 0;
  while (at < utf8.size()) {
    const size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[at])),
                              utf8.size() - at);
    const int c = CodePointColumns(utf8, at, n);
    if (used + c > columns) break;
    used += c;
    at += n;
  }
  return std::string(utf8.substr(0, at));
}

// Program text as one line of the terminal: the window's two message lines
// side by side.
std::string OnOneLine(std::string_view sjis) {
  std::string text = TerminalText(sjis);
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace

int Columns(std::string_view utf8) {
  int columns = 0;
  for (size_t at = 0; at < utf8.size();) {
    const size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[at])),
                              utf8.size() - at);
    columns += CodePointColumns(utf8, at, n);
    at += n;
  }
  return columns;
}

// One transfer's window: "[title] message", then the share and the face.
class ProgressRow::Line : public ProgressView {
 public:
  explicit Line(ProgressRow& row) : row_(&row) { row.lines_.push_back(this); }
  ~Line() override { Close(); }

  void SetTexts(const std::string& title, const std::string& message) override {
    if (!row_) return;
    title_ = '[' + OnOneLine(title) + ']';
    label_ = title_ + " " + OnOneLine(message);
    row_->print_(row_->live_ ? "" : label_ + "\n");
  }

  void SetShare(const std::string& share, int bar, const std::string& face) override {
    if (!row_) return;
    share_ = OnOneLine(share);
    face_ = OnOneLine(face);
    if (row_->live_) return row_->print_("");
    // A file of lines gets one at each quarter, however often the timer ticks.
    const int quarter = std::clamp(bar, 0, 100) / 25;
    if (quarter <= quarter_ || label_.empty()) return;
    quarter_ = quarter;
    row_->print_(label_ + " " + share_ + "\n");
  }

  void Close() override {
    if (!row_) return;
    ProgressRow& row = *row_;
    Detach();
    // A transfer that ended before it was named has shown nothing.
    if (label_.empty()) return;
    row.print_(label_ + (share_.empty() ? "" : " " + share_) + " " + kClosed + "\n");
  }

  // The row forgets this line: at Close, or when the row goes first.
  void Detach() {
    if (row_) std::erase(row_->lines_, this);
    row_ = nullptr;
  }

  // Its part of the row; empty until it is named.
  std::string Segment(bool compact) const {
    if (label_.empty()) return "";
    std::string s = compact ? title_ : label_;
    if (!share_.empty()) s += " " + share_;
    if (!face_.empty() && !compact) s += " " + face_;
    return s;
  }

 private:
  ProgressRow* row_;
  std::string title_;
  std::string label_;
  std::string share_;
  std::string face_;
  int quarter_ = 0;
};

ProgressRow::ProgressRow(bool live, std::function<void(std::string_view)> print)
    : live_(live), print_(std::move(print)) {}

ProgressRow::~ProgressRow() {
  while (!lines_.empty()) lines_.back()->Detach();
}

std::unique_ptr<ProgressView> ProgressRow::Open() { return std::make_unique<Line>(*this); }

std::string ProgressRow::Hide() {
  if (!shown_) return "";
  shown_ = false;
  return kErase;
}

// Left without a line end, so that the next output can take it back.
std::string ProgressRow::Show() {
  if (!live_) return "";
  std::string text = Text();
  shown_ = !text.empty();
  return text;
}

std::string ProgressRow::Text() const {
  for (bool compact : {false, true}) {
    std::string text;
    for (const Line* line : lines_) {
      const std::string segment = line->Segment(compact);
      if (segment.empty()) continue;
      if (!text.empty()) text += kBetween;
      text += segment;
    }
    if (compact || Columns(text) <= kColumns) return CutToColumns(text, kColumns);
  }
  return "";
}

}  // namespace tellu
