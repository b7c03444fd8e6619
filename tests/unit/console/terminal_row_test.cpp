#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "console/terminal.h"
#include "log/log_store.h"
#include "log/log_window_model.h"
#include "platform/fake_timers.h"
#include "transfer_texts.h"

namespace tellu {
namespace {

// The terminal keeps the row last: any other output erases it first and
// draws it again after; a file of lines never sees an erase code.
class TerminalRowTest : public ::testing::Test {
 protected:
  // Everything written so far; writing goes on at the end.
  std::string Output() {
    std::fflush(out);
    std::rewind(out);
    std::string text;
    char chunk[256];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) text.append(chunk, n);
    std::fseek(out, 0, SEEK_END);
    return text;
  }
  ~TerminalRowTest() override { std::fclose(out); }
  std::FILE* out = std::tmpfile();
  FakeTimers timers;
};

TEST_F(TerminalRowTest, OtherOutputGoesAboveTheRow) {
  Terminal terminal(timers, AskMode::kNo, out, true);
  auto view = terminal.OpenProgress([] {});
  view->SetTexts(kTitle, kMessage);
  view->SetShare("  50.0 %", 50, "(^_^)");
  const size_t before = Output().size();
  terminal.Print("hello");
  const std::string row = std::string(kLabel) + "   50.0 % (^_^)";
  EXPECT_EQ(Output().substr(before), std::string(kErase) + "hello\n" + row);
  view.reset();
  EXPECT_EQ(Output().substr(Output().size() - 9), "(closed)\n");
}

TEST_F(TerminalRowTest, NoEraseCodesWhenNotATerminal) {
  Terminal terminal(timers, AskMode::kNo, out, false);
  auto view = terminal.OpenProgress([] {});
  view->SetTexts(kTitle, kMessage);
  terminal.Print("hello");
  view->SetShare("  50.0 %", 50, "(^_^)");
  view.reset();
  EXPECT_EQ(Output(), std::string(kLabel) + "\nhello\n" + kLabel + "   50.0 %\n" + kLabel +
                          "   50.0 % (closed)\n");
}

// Log lines are written together at the end of the loop round, and before
// any other output so that the order stays.
TEST_F(TerminalRowTest, LogLinesWaitForTheRoundOrForOtherOutput) {
  LogStore store;
  LogWindowModel window(store);
  Terminal terminal(timers, AskMode::kNo, out, false);
  terminal.SetLogWindow(&window);
  store.Append("<a>", "one");
  terminal.LogChanged();
  store.Append("<b>", "two");
  terminal.LogChanged();
  EXPECT_EQ(Output(), "");
  timers.Advance(0);
  EXPECT_EQ(Output(), "<a> one\n<b> two\n");
  store.Append("<c>", "three");
  terminal.LogChanged();
  terminal.Print("hello");
  EXPECT_EQ(Output(), "<a> one\n<b> two\n<c> three\nhello\n");
  store.Append("<d>", "four");
  terminal.LogChanged();
  terminal.SetLogWindow(nullptr);
  terminal.Flush();
  const std::string all = "<a> one\n<b> two\n<c> three\nhello\n<d> four\n";
  EXPECT_EQ(Output(), all);
  timers.Advance(0);
  EXPECT_EQ(Output(), all);  // the round's end writes nothing a second time
}

// --bell: one BEL after the whisper's line, on a terminal or in a file; the
// beep of a file of lines stays silent as before.
TEST_F(TerminalRowTest, AWhisperRingsTheBellOnlyWithBell) {
  for (const bool bell : {false, true}) {
    for (const bool tty : {false, true}) {
      SCOPED_TRACE(std::string(bell ? "--bell" : "no --bell") + (tty ? ", terminal" : ", file"));
      std::FILE* file = std::tmpfile();
      std::swap(out, file);
      {
        LogStore store;
        LogWindowModel window(store);
        Terminal terminal(timers, AskMode::kNo, out, tty);
        terminal.set_colour(false);
        terminal.set_bell(bell);
        terminal.SetLogWindow(&window);
        store.Append("{amy -> me}", "psst");
        terminal.LogChanged();
        terminal.WhisperFlash();
        timers.Advance(0);
        EXPECT_EQ(Output(), std::string("{amy -> me} psst\n") + (bell ? "\a" : ""));
      }
      std::swap(out, file);
      std::fclose(file);
    }
  }
}

}  // namespace
}  // namespace tellu
