#include "console/terminal.h"

#include "chat/objects.h"
#include "console/console_out.h"
#include "console/display_text.h"
#include "console/entry_line.h"

namespace tellu {
namespace {

constexpr char kGreen[] = "\x1b[32m";
constexpr char kBold[] = "\x1b[1m";
constexpr char kReset[] = "\x1b[0m";
// Log lines held back beyond this are written at once.
constexpr size_t kPendingLimit = 64 * 1024;

std::string WithoutLeadingNewline(std::string_view text) {
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  return std::string(text);
}

}  // namespace

Terminal::Terminal(Timers& timers, AskMode ask, std::FILE* out, bool tty)
    : timers_(timers), ask_(ask), out_(out), tty_(tty) {}

Terminal::~Terminal() { Flush(); }

// The progress row, when shown, stays the last thing on the terminal.
void Terminal::Write(std::string_view utf8) {
  if (flush_timer_) timers_.Cancel(flush_timer_);
  flush_timer_ = 0;
  std::string text = hide_input_ ? hide_input_() : std::string();
  text += row_.Hide();  // before Show, which may change what it erases
  text += pending_;
  pending_.clear();
  text += utf8;
  text += row_.Show();
  WriteOut(out_, text);
  if (show_input_) show_input_();
}

void Terminal::Flush() {
  if (!pending_.empty()) Write("");
}

std::string Terminal::Paint(std::string_view utf8, const char* colour) const {
  if (!colour_ || utf8.empty()) return std::string(utf8);
  return colour + std::string(utf8) + kReset;
}

void Terminal::Print(std::string_view sjis) { Write(TerminalText(sjis) + "\n"); }

void Terminal::Diagnostic(std::string_view utf8) {
  std::string above = hide_input_ ? hide_input_() : std::string();
  above += row_.Hide();
  above += pending_;
  pending_.clear();
  WriteOut(out_, above);
  WriteOut(stderr, "tellu-cli: " + std::string(utf8) + "\n");
  Write("");
}

void Terminal::ServerLost(std::string_view sjis) {
  Write(Paint(WithoutLeadingNewline(TerminalText(sjis)), kGreen) + "\n");
}

void Terminal::Notice(const std::string& text, const std::string& caption, NoticeIcon) {
  Write(Paint("[" + TerminalText(caption) + "]", kBold) + " " + TerminalText(text) + "\n");
}

void Terminal::Ask(const std::string& text, const std::string& caption,
                   std::function<void(bool)> answer) {
  const std::string head = Paint("[" + TerminalText(caption) + "]", kBold) + " " +
                           TerminalText(text);
  if (ask_ != AskMode::kAsk || !input_open_) {
    const bool yes = ask_ == AskMode::kYes;
    Write(head + (yes ? " -> yes\n" : " -> no\n"));
    timers_.Start(0, false, [answer = std::move(answer), yes] { answer(yes); });
    return;
  }
  Write(head + " [y/n]\n");
  questions_.push_back(std::move(answer));
}

bool Terminal::TakeAnswer(std::string_view line) {
  if (questions_.empty()) return false;
  auto answer = std::move(questions_.front());
  questions_.pop_front();
  const bool yes = !line.empty() && (line.front() == 'y' || line.front() == 'Y');
  answer(yes);
  return true;
}

void Terminal::InputClosed() {
  input_open_ = false;
  while (!questions_.empty()) {
    timers_.Start(0, false, [answer = std::move(questions_.front())] { answer(false); });
    questions_.pop_front();
  }
}

void Terminal::Beep(BeepKind) {
  if (tty_) Write("\a");
}

// After the whisper's line, which waits in pending_.
void Terminal::WhisperFlash() {
  if (bell_) Write("\a");
}

void Terminal::LogChanged() {
  if (!log_) return;
  const LogUpdate update = log_->Update();
  // The model gives each entry as its prefix piece, then its text piece.
  for (size_t i = 0; i + 1 < update.segments.size(); i += 2) {
    std::string_view prefix = update.segments[i].text;
    if (!prefix.empty() && prefix.front() == '\n') prefix.remove_prefix(1);
    const LogSegment& text = update.segments[i + 1];
    pending_ += EntryLine(prefix, text.text, text.colour == kLogWhisperColour, colour_);
    pending_ += '\n';
  }
  if (pending_.empty()) return;
  if (!flush_timer_ && pending_.size() < kPendingLimit)
    flush_timer_ = timers_.Start(0, false, [this] {
      flush_timer_ = 0;
      Flush();
    });
  // Beyond the limit, or with no timer to wait for: at once.
  if (!flush_timer_ || pending_.size() >= kPendingLimit) Flush();
}

void Terminal::SetWhispersOnly(bool on) {
  whispers_only_ = on;
  if (!log_) return;
  LogChanged();  // what came before the switch is printed as it was
  // The window would redraw its whole text here; a console prints on.
  log_->SetWhispersOnly(on);
}

void Terminal::StatusChanged(int index) {
  if (index < 0 || index >= static_cast<int>(kTelluStatus.size())) return;
  Print("[status] " + std::string(kTelluStatus[index].label));
}

std::unique_ptr<ProgressView> Terminal::OpenProgress(std::function<void()>) {
  return row_.Open();
}

}  // namespace tellu
