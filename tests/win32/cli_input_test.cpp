// tellu-cli's standard input on Windows, without a console: keys as the
// console reports them, bytes as a pipe gives them, and where tellu.ini is.
#include <gtest/gtest.h>

#include "cli_process_test.h"
#include "win32/win_input_lines.h"
#include "win32/win_places.h"
#include "files/std_files.h"

namespace tellu {
namespace {

KEY_EVENT_RECORD Key(wchar_t c, bool down = true, WORD repeat = 1, WORD vk = 0) {
  KEY_EVENT_RECORD k{};
  k.bKeyDown = down;
  k.wRepeatCount = repeat;
  k.wVirtualKeyCode = vk;
  k.uChar.UnicodeChar = c;
  return k;
}

// The lines' texts, each checked to be one that may be sent.
std::vector<std::string> Texts(const InputLines& out) {
  std::vector<std::string> texts;
  for (const TypedLine& line : out.lines) {
    EXPECT_EQ(line.refused, "") << line.sjis;
    texts.push_back(line.sjis);
  }
  return texts;
}

InputLines Typed(ConsoleLineEditor& editor, const std::wstring& keys) {
  InputLines out;
  for (wchar_t c : keys) editor.Key(Key(c), out);
  return out;
}

TEST(ConsoleLineEditor, EnterHandsOnTheLineAsShiftJisAndEchoesWhatWasTyped) {
  ConsoleLineEditor editor;
  // "日本 a" and Enter.
  InputLines out = Typed(editor, L"\u65E5\u672C a\r");
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].sjis, "\x93\xFA\x96\x7B a");
  EXPECT_EQ(out.echo, L"\u65E5\u672C a\r\n");
  EXPECT_TRUE(editor.line().empty());
  EXPECT_FALSE(out.end);
  // An empty line is a line too.
  out = Typed(editor, L"\r");
  EXPECT_EQ(Texts(out), std::vector<std::string>{""});
}

TEST(ConsoleLineEditor, KeyReleasesCountOnlyForAltCodesAndRepeatsCount) {
  ConsoleLineEditor editor;
  InputLines out;
  editor.Key(Key(L'x', true, 3), out);
  editor.Key(Key(L'x', false), out);
  // Alt+numpad: the character comes with the release of Alt.
  editor.Key(Key(L'\u3042', false, 1, VK_MENU), out);
  editor.Key(Key(L'\r'), out);
  EXPECT_EQ(Texts(out), std::vector<std::string>{"xxx\x82\xA0"});
}

TEST(ConsoleLineEditor, BackspaceAndEscTakeBackWholeCharactersAndTheirCells) {
  ConsoleLineEditor editor;
  InputLines out = Typed(editor, L"a\u3042");
  out.echo.clear();
  editor.Key(Key(L'\b'), out);
  // A wide character takes two cells.
  EXPECT_EQ(out.echo, L"\b\b  \b\b");
  EXPECT_EQ(editor.line(), u"a");
  // A character beyond U+FFFF goes as one, both of its halves.
  out = Typed(editor, L"\U0001F600\b");
  EXPECT_EQ(editor.line(), u"a");
  out = Typed(editor, L"bc\x1B");
  EXPECT_TRUE(editor.line().empty());
  EXPECT_EQ(out.echo, L"bc\b\b\b   \b\b\b");
  // Nothing to take back: nothing happens.
  out = Typed(editor, L"\b");
  EXPECT_TRUE(out.echo.empty());
}

TEST(ConsoleLineEditor, CtrlZEndsTheInputOnlyOnAnEmptyLineAndOtherControlsAreIgnored) {
  ConsoleLineEditor editor;
  InputLines out = Typed(editor, L"a\x1A\x01\tb\r");
  EXPECT_EQ(Texts(out), std::vector<std::string>{"a\tb"});
  EXPECT_FALSE(out.end);
  out = Typed(editor, L"\x1A" L"after\r");
  EXPECT_TRUE(out.end);
  EXPECT_TRUE(out.lines.empty());
}

TEST(ConsoleLineEditor, AnEndlessLineIsHandedOnAtTheLimit) {
  ConsoleLineEditor editor;
  InputLines out;
  for (size_t i = 0; i < kMaxInputLine + 5; ++i) editor.Key(Key(L'z'), out);
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].sjis, std::string(kMaxInputLine, 'z'));
  EXPECT_EQ(editor.line().size(), 5u);
}

TEST(PipeLines, LinesAreCutAtLfAcrossReadsAndTheLastComesAtTheEnd) {
  PipeLines pipe;
  InputLines out;
  pipe.Feed("one\r", out);
  pipe.Feed("\ntw", out);
  pipe.Feed("o\n\nthree", out);
  EXPECT_EQ(Texts(out), (std::vector<std::string>{"one", "two", ""}));
  EXPECT_FALSE(out.end);
  pipe.Finish(out);
  EXPECT_EQ(out.lines.back().sjis, "three");
  EXPECT_TRUE(out.end);
}

TEST(PipeLines, Utf8BecomesShiftJisAndOtherBytesAreTakenAsShiftJis) {
  PipeLines pipe;
  InputLines out;
  // A byte order mark only at the very start, even split over two reads.
  pipe.Feed("\xEF", out);
  pipe.Feed("\xBB\xBF\xE3\x81\x82\n", out);
  pipe.Feed("\x82\xA0\x82\xA2\n", out);
  // An overlong form is not UTF-8.
  pipe.Feed("\xC0\xAF\n", out);
  EXPECT_EQ(Texts(out), (std::vector<std::string>{"\x82\xA0", "\x82\xA0\x82\xA2", "\xC0\xAF"}));
}

TEST(InputLines, ALineShiftJisCannotHoldIsRefusedNamingItsCharacters) {
  ConsoleLineEditor editor;
  InputLines out = Typed(editor, L"hi \U0001F600 there\r");
  PipeLines pipe;
  pipe.Feed("caf\xC3\xA9\n\x82 a\n", out);
  ASSERT_EQ(out.lines.size(), 3u);
  EXPECT_EQ(out.lines[0].refused, "not sent: Shift-JIS cannot hold \xF0\x9F\x98\x80 U+1F600");
  EXPECT_EQ(out.lines[1].refused, "not sent: Shift-JIS cannot hold \xC3\xA9 U+00E9");
  EXPECT_NE(out.lines[2].refused.find("byte 82 at 0"), std::string::npos);
  for (const TypedLine& line : out.lines) EXPECT_EQ(line.sjis, "");
}

TEST(PipeLines, AnEndlessLineIsHandedOnAtTheLimit) {
  PipeLines pipe;
  InputLines out;
  pipe.Feed(std::string(kMaxInputLine + 1, 'q'), out);
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].sjis.size(), kMaxInputLine + 1);
}

TEST(WinProfilePath, TelluIniInTheWindowsDirectoryInAnyCaseElseBesideTheProgram) {
  StdFiles files;
  const std::wstring dir = wintest::ScratchDir(L"cli_places");
  const std::string windows(dir.begin(), dir.end());
  const std::string program = "C:\\Programs\\Tellu\\tellu-cli.exe";
  EXPECT_EQ(WinProfilePath(files, windows, program), "C:\\Programs\\Tellu\\tellu.ini");
  EXPECT_EQ(WinProfilePath(files, "", program), "C:\\Programs\\Tellu\\tellu.ini");
  ASSERT_TRUE(wintest::WriteBytes(dir + L"\\tellu.ini", "[SYSTEM]\r\n"));
  EXPECT_EQ(WinProfilePath(files, windows, program), windows + "\\TELLU.INI");
  EXPECT_EQ(WinProfilePath(files, windows + "\\", program), windows + "\\TELLU.INI");
}

}  // namespace
}  // namespace tellu
