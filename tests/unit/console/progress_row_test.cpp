#include "console/progress_row.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>
#include "transfer_texts.h"

namespace tellu {
namespace {

// The owner's side of the row: every line goes out between Hide and Show.
struct Screen {
  explicit Screen(bool live)
      : row(live, [this](std::string_view line) {
          out += row.Hide();
          out += line;
          out += row.Show();
        }) {}
  std::string Take() { return std::exchange(out, {}); }
  std::string out;
  ProgressRow row;
};

TEST(ProgressRowFile, ALineWhenNamedAtEachQuarterAndAtTheEnd) {
  Screen screen(false);
  auto view = screen.row.Open();
  view->SetShare("   0.0 %", 0, "(^_^)");
  EXPECT_EQ(screen.Take(), "");  // not named yet: nothing to say
  view->SetTexts(kTitle, kMessage);
  EXPECT_EQ(screen.Take(), std::string(kLabel) + "\n");
  view->SetShare("  10.0 %", 10, "(^_^)");
  view->SetShare("  30.0 %", 30, "(^_-)");
  view->SetShare("  30.0 %", 30, "(^_^)/");
  view->SetShare("  99.9 %", 99, "(^_^)/~");
  EXPECT_EQ(screen.Take(),
            std::string(kLabel) + "   30.0 %\n" + kLabel + "   99.9 %\n");
  view->SetShare(" 100.0 %", 100, "(^_^)/~~");
  EXPECT_EQ(screen.Take(), std::string(kLabel) + "  100.0 %\n");
  view->Close();
  EXPECT_EQ(screen.Take(), std::string(kLabel) + "  100.0 % (closed)\n");
  view->SetShare("  50.0 %", 50, "(^_^)");
  view.reset();
  EXPECT_EQ(screen.Take(), "");  // closed once, silent after
  EXPECT_EQ(screen.row.Hide(), "");
  EXPECT_EQ(screen.row.Show(), "");
}

TEST(ProgressRowFile, ATransferEndedBeforeItWasNamedLeavesNoLine) {
  Screen screen(false);
  screen.row.Open().reset();
  EXPECT_EQ(screen.Take(), "");
  auto named = screen.row.Open();
  named->SetTexts(kTitle, kMessage);
  screen.Take();
  named.reset();  // destroyed without Close: still the last line
  EXPECT_EQ(screen.Take(), std::string(kLabel) + " (closed)\n");
}

TEST(ProgressRowTerminal, TheRowIsRedrawnInPlaceAndTheLastLineStays) {
  Screen screen(true);
  auto view = screen.row.Open();
  EXPECT_EQ(screen.row.Text(), "");
  view->SetTexts(kTitle, kMessage);
  EXPECT_EQ(screen.Take(), kLabel);  // no line end: the next output takes it back
  view->SetShare("  50.0 %", 50, "(^_^)");
  EXPECT_EQ(screen.Take(), std::string(kErase) + kLabel + "   50.0 % (^_^)");
  view->SetShare("  51.0 %", 51, "(^_-)");
  EXPECT_EQ(screen.Take(), std::string(kErase) + kLabel + "   51.0 % (^_-)");
  view->Close();
  EXPECT_EQ(screen.Take(), std::string(kErase) + kLabel + "   51.0 % (closed)\n");
  EXPECT_EQ(screen.row.Show(), "");
  EXPECT_EQ(screen.row.Hide(), "");
}

TEST(ProgressRowTerminal, LiveTransfersShareTheRowWithinItsWidth) {
  Screen screen(true);
  auto first = screen.row.Open();
  auto second = screen.row.Open();
  first->SetTexts("Tellu Sending", "B");
  second->SetTexts("Tellu Receiving", "C");
  first->SetShare("  25.0 %", 25, "(^_^)");
  EXPECT_EQ(screen.row.Text(), "[Tellu Sending] B   25.0 % (^_^)  |  [Tellu Receiving] C");
  first->Close();
  EXPECT_EQ(screen.row.Text(), "[Tellu Receiving] C");

  // Too long for the row: titles and shares only, and never wider.
  auto third = screen.row.Open();
  third->SetTexts("Tellu Sending", std::string(60, 'x'));
  third->SetShare("  12.5 %", 12, "(^_^)");
  EXPECT_EQ(screen.row.Text(), "[Tellu Receiving]  |  [Tellu Sending]   12.5 %");
  std::vector<std::unique_ptr<ProgressView>> more;
  for (int i = 0; i < 4; ++i) {
    more.push_back(screen.row.Open());
    more.back()->SetTexts("Tellu Sending", "D");
    more.back()->SetShare("   1.0 %", 1, "");
  }
  EXPECT_LE(Columns(screen.row.Text()), ProgressRow::kColumns);
}

TEST(ProgressRowTerminal, AViewThatOutlivesTheRowDoesNothing) {
  std::string written;
  std::unique_ptr<ProgressView> view;
  {
    std::unique_ptr<ProgressRow> row;  // the owner's side, as Screen's
    row = std::make_unique<ProgressRow>(true, [&](std::string_view line) {
      written += row->Hide();
      written += line;
      written += row->Show();
    });
    view = row->Open();
    view->SetTexts(kTitle, kMessage);
  }
  const std::string before = written;
  EXPECT_FALSE(before.empty());
  view->SetShare("  50.0 %", 50, "(^_^)");
  view->Close();
  view.reset();
  EXPECT_EQ(written, before);
}

TEST(ProgressRowColumns, WideCharactersTakeTwoHalfWidthOne) {
  EXPECT_EQ(Columns("abc"), 3);
  EXPECT_EQ(Columns("\xe3\x81\x82"), 2);      // あ
  EXPECT_EQ(Columns("\xef\xbd\xb1"), 1);      // ｱ
  EXPECT_EQ(Columns("\xc2\xb0"), 1);          // °
  EXPECT_EQ(Columns("\xe3\x81"), 1);          // cut short: counted, not read past
}

}  // namespace
}  // namespace tellu
