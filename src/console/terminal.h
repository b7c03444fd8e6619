// The console's Ui port: the log as lines on standard output, notices as
// "[caption] text", questions answered from the next input line or at once
// as --avatar-requests says, the beep as BEL, transfers as progress lines
// (a row redrawn under the other output on a terminal).
#pragma once
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "console/progress_row.h"
#include "log/log_window_model.h"
#include "platform/timers.h"
#include "platform/ui.h"

namespace tellu {

enum class AskMode { kAsk, kYes, kNo };

class Terminal : public Ui {
 public:
  // tty: standard output is a terminal, which gets BEL and a redrawn
  // progress row, and colours unless set_colour says otherwise.
  // A question answered at once gets its answer from a timer of no delay.
  Terminal(Timers& timers, AskMode ask, std::FILE* out, bool tty);
  ~Terminal() override;
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // Log lines wait for the end of the loop round (a timer of no delay) or
  // for any other output, which they go before; this writes them now.
  void Flush();

  void set_colour(bool on) { colour_ = on; }
  // --bell: a whisper to the user rings BEL, on a terminal or not.
  void set_bell(bool on) { bell_ = on; }
  // An input line kept below the output: see ConsolePlatform::HideInput.
  void SetInputLine(std::function<std::string()> hide, std::function<void()> show) {
    hide_input_ = std::move(hide);
    show_input_ = std::move(show);
  }

  // The log store's new entries are printed through this window model.
  void SetLogWindow(LogWindowModel* window) { log_ = window; }
  // From now on only whisper entries are printed, as the log window's "only
  // Whisper" box; notices and command results always are.
  void SetWhispersOnly(bool on);
  bool whispers_only() const { return whispers_only_; }

  // Command results and other lines, Shift-JIS.
  void Print(std::string_view sjis);
  // A diagnostic on standard error, UTF-8.
  void Diagnostic(std::string_view utf8);
  // The lost-server notice of the log window.
  void ServerLost(std::string_view sjis);
  // An input line while a question waits is its answer: true when taken.
  bool TakeAnswer(std::string_view line);
  bool asking() const { return !questions_.empty(); }
  // No more input: waiting questions, and later ones, are answered No.
  void InputClosed();

  void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) override;
  void Ask(const std::string& text, const std::string& caption,
           std::function<void(bool yes)> answer) override;
  using Ui::Beep;
  void Beep(BeepKind kind) override;
  void Flash(bool) override {}
  void WhisperFlash() override;
  void LogChanged() override;
  void WhoChanged() override {}
  void StatusChanged(int index) override;
  void EnableLoginItems(bool) override {}
  void ToggleWhoWindow() override {}
  std::unique_ptr<ProgressView> OpenProgress(std::function<void()> cancel) override;

 private:
  void Write(std::string_view utf8);
  std::string Paint(std::string_view utf8, const char* colour) const;

  Timers& timers_;
  AskMode ask_;
  std::FILE* out_;
  bool tty_;
  bool colour_ = tty_;
  bool input_open_ = true;
  bool whispers_only_ = false;
  bool bell_ = false;
  LogWindowModel* log_ = nullptr;
  std::function<std::string()> hide_input_;
  std::function<void()> show_input_;
  std::deque<std::function<void(bool)>> questions_;
  std::string pending_;  // log lines not yet written
  Timers::Id flush_timer_ = 0;
  ProgressRow row_{tty_, [this](std::string_view line) { Write(line); }};
};

}  // namespace tellu
