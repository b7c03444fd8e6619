// The console's input lines, its command line, its output text and PROG's
// argument split.
#include <gtest/gtest.h>

#include "console/commands.h"
#include "console/display_text.h"
#include "console/options.h"
#include "posix/posix_shell.h"
#include "tellu_version.h"
#include "text/command_args.h"

namespace tellu {
namespace {

using Kind = Command::Kind;

TEST(ParseCommand, PlainLinesAreTypedAndDoubleSlashEscapes) {
  EXPECT_EQ(ParseCommand("hello there").kind, Kind::kType);
  EXPECT_EQ(ParseCommand("hello there").text, "hello there");
  EXPECT_EQ(ParseCommand("").kind, Kind::kType);
  EXPECT_EQ(ParseCommand("Momo:hi").text, "Momo:hi");
  const Command slash = ParseCommand("//quit now");
  EXPECT_EQ(slash.kind, Kind::kType);
  EXPECT_EQ(slash.text, "/quit now");
}

TEST(ParseCommand, NumbersMustBeWholeAndInRange) {
  EXPECT_EQ(ParseCommand("/status 6").number, 6);
  EXPECT_EQ(ParseCommand("/status 0").kind, Kind::kStatus);
  for (const char* bad : {"/status 7", "/status -1", "/status", "/status 1x", "/status 99999999"})
    EXPECT_EQ(ParseCommand(bad).kind, Kind::kBad) << bad;
  EXPECT_EQ(ParseCommand("/wear 3").number, 3);
  EXPECT_EQ(ParseCommand("/wear 0").kind, Kind::kBad);
}

TEST(ParseCommand, NamesKeepInnerBlanksAndDoubleByteCharacters) {
  const Command mute = ParseCommand("/mute   Big Momo  ");
  EXPECT_EQ(mute.kind, Kind::kMute);
  EXPECT_EQ(mute.text, "Big Momo");
  EXPECT_EQ(ParseCommand("/unmute \x82\xDD\x82\xC7\x82\xE8").text, "\x82\xDD\x82\xC7\x82\xE8");
  EXPECT_EQ(ParseCommand("/request Momo").kind, Kind::kRequest);
  for (const char* bad : {"/mute", "/mute   ", "/unmute", "/request "})
    EXPECT_EQ(ParseCommand(bad).kind, Kind::kBad) << bad;
}

TEST(ParseCommand, KeysAndVariants) {
  EXPECT_EQ(ParseCommand("/key ctrl-up").key, MoveKey::kCtrlUp);
  EXPECT_EQ(ParseCommand("/key pagedown").key, MoveKey::kPageDown);
  EXPECT_EQ(ParseCommand("/key home").key, MoveKey::kHome);
  EXPECT_EQ(ParseCommand("/key up").kind, Kind::kBad);
  EXPECT_FALSE(ParseCommand("/ghost").alternate);
  EXPECT_TRUE(ParseCommand("/ghost frozen").alternate);
  EXPECT_EQ(ParseCommand("/ghost melted").kind, Kind::kBad);
  EXPECT_TRUE(ParseCommand("/f4 shift").alternate);
  EXPECT_EQ(ParseCommand("/f4").kind, Kind::kReply);
  EXPECT_EQ(ParseCommand("/whispers  off ").text, "off");
  EXPECT_EQ(ParseCommand("/whispers").text, "");
}

TEST(ParseCommand, TableListsOrSendsWithTheRestAsTheBarText) {
  EXPECT_EQ(ParseCommand("/table").kind, Kind::kTableList);
  const Command send = ParseCommand("/table 16  two  blanks");
  EXPECT_EQ(send.kind, Kind::kTableSend);
  EXPECT_EQ(send.number, 16);
  EXPECT_EQ(send.text, " two  blanks");
  EXPECT_EQ(ParseCommand("/table 3").text, "");
  EXPECT_EQ(ParseCommand("/table 17 x").kind, Kind::kBad);
  EXPECT_EQ(ParseCommand("/table x").kind, Kind::kBad);
}

TEST(ParseCommand, UnknownOrDecoratedCommandsAreRefused) {
  for (const char* bad :
       {"/", "/quitt", "/who me", "/help me", "/avatars 2", "/QUIT", "/whispers maybe"})
    EXPECT_EQ(ParseCommand(bad).kind, Kind::kBad) << bad;
  EXPECT_EQ(ParseCommand("/quit").kind, Kind::kQuit);
}

TEST(ConsoleOptions, SlotArgumentsAndOptions) {
  std::string error;
  auto o = ParseOptions({"S2", "--ini", "/x/S9.ini", "s5", "--avatar-requests", "no"}, error);
  ASSERT_TRUE(o);
  // Only the arguments that are no options are read for the slot.
  EXPECT_EQ(o->slot_text, "S2 s5");
  EXPECT_EQ(o->ini, "/x/S9.ini");
  EXPECT_EQ(o->ask, AskMode::kNo);
  EXPECT_FALSE(o->windows_dir);
  EXPECT_FALSE(ParseOptions({"--windows-dir"}, error));
  EXPECT_FALSE(ParseOptions({"--avatar-requests", "maybe"}, error));
  EXPECT_FALSE(ParseOptions({"--verbose", "x"}, error));
  EXPECT_EQ(ParseOptions({}, error)->ask, AskMode::kAsk);
  EXPECT_FALSE(ParseOptions({}, error)->bell);
  auto bell = ParseOptions({"--bell", "S1"}, error);
  ASSERT_TRUE(bell);
  EXPECT_TRUE(bell->bell);
  EXPECT_EQ(bell->slot_text, "S1");
}

TEST(ConsoleOptions, VersionAndHelpNeedNoValue) {
  std::string error;
  for (const char* flag : {"--version", "--help", "-h"}) {
    auto o = ParseOptions({flag}, error);
    ASSERT_TRUE(o) << flag << ": " << error;
    EXPECT_EQ(o->version, std::string(flag) == "--version") << flag;
    EXPECT_EQ(o->help, std::string(flag) != "--version") << flag;
  }
  EXPECT_EQ(ConsoleVersion(), "tellu-cli " TELLU_VERSION "\n");
  // An option of no value is unknown, not one that lacks its value.
  EXPECT_FALSE(ParseOptions({"--verbose"}, error));
  EXPECT_EQ(error, "unknown option --verbose");
  EXPECT_FALSE(ParseOptions({"--ini"}, error));
  EXPECT_EQ(error, "--ini needs a value");
}

TEST(ConsoleOptions, TheHelpNamesEveryOptionTheEnvironmentAndTheExitStatuses) {
  const std::string help = ConsoleHelp();
  // Every option the parser takes is described on a line of its own.
  for (const char* option : {"  S1..S8 ", "  --ini FILE ", "  --windows-dir DIR ",
                             "  --avatar-requests ask|yes|no\n", "  --color auto|always|never\n",
                             "  --bell ", "  --version ", "  -h, --help "})
    EXPECT_NE(help.find(std::string("\n") + option), std::string::npos) << option;
  std::string error;
  for (const char* option : {"--ini", "--windows-dir", "--avatar-requests", "--color"})
    EXPECT_FALSE(ParseOptions({option}, error)) << option;
  for (const char* part : {"/table", "/quit", "\n  NO_COLOR ", "\n  WINEPREFIX ",
                           "\n  XDG_STATE_HOME ", "\nExit status:\n  0 ", "\n  2 "})
    EXPECT_NE(help.find(part), std::string::npos) << part;
  // On an 80-column terminal.
  size_t start = 0;
  for (size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
  EXPECT_EQ(start, help.size());
  EXPECT_EQ(help.rfind(kConsoleUsage, 0), 0u);
}

TEST(ConsoleOptions, ColoursOnATerminalUnlessDumbOrNoColor) {
  std::string error;
  EXPECT_EQ(ParseOptions({"--color", "always"}, error)->colour, ColourMode::kAlways);
  EXPECT_EQ(ParseOptions({"--color", "never"}, error)->colour, ColourMode::kNever);
  EXPECT_EQ(ParseOptions({}, error)->colour, ColourMode::kAuto);
  EXPECT_FALSE(ParseOptions({"--color", "yes"}, error));
  const struct {
    ColourMode mode;
    bool terminal;
    const char* term;
    const char* no_color;
    bool colour;
  } cases[] = {
      {ColourMode::kAuto, true, "xterm", nullptr, true},
      {ColourMode::kAuto, true, nullptr, nullptr, true},
      {ColourMode::kAuto, false, "xterm", nullptr, false},
      {ColourMode::kAuto, true, "dumb", nullptr, false},
      {ColourMode::kAuto, true, "xterm", "", false},
      {ColourMode::kAuto, true, "xterm", "1", false},
      {ColourMode::kAlways, false, "dumb", "1", true},
      {ColourMode::kNever, true, "xterm", nullptr, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UseColour(c.mode, c.terminal, c.term, c.no_color), c.colour)
        << static_cast<int>(c.mode) << c.terminal << (c.term ? c.term : "-")
        << (c.no_color ? c.no_color : "-");
}

TEST(ConsoleOptions, WindowsDirectoryDefaults) {
  EXPECT_EQ(DefaultWindowsDir("/p", "/home/u"), "/p/drive_c/windows");
  EXPECT_EQ(DefaultWindowsDir("", "/home/u"), "/home/u/.wine/drive_c/windows");
  EXPECT_EQ(DefaultWindowsDir(nullptr, "/home/u"), "/home/u/.wine/drive_c/windows");
}

TEST(TerminalText, Utf8WithLineEndsAndNoControlCharacters) {
  EXPECT_EQ(TerminalText("\x82\xA0\r\nb\tc"), "\xE3\x81\x82\nb\tc");
  // Escape sequences, a lone CR and the bell cannot reach the terminal.
  EXPECT_EQ(TerminalText("a\x1b[2Jb\rc\x07"), "a?[2Jb?c?");
  EXPECT_EQ(TerminalText("x\x7Fy"), "x?y");
  // Code page 932's 0x80 is U+0080, a C1 control.
  EXPECT_EQ(TerminalText("\x80z"), "?z");
  EXPECT_EQ(TypedText("\xE3\x81\x82").sjis, "\x82\xA0");
  EXPECT_EQ(TypedText("\xE3\x81\x82").refused, "");
}

TEST(RefusalText, NamesThePeerAndTheFileSafelyForTheTerminal) {
  for (Refusal what : {Refusal::kOffer, Refusal::kPush, Refusal::kFetch}) {
    const std::string line = RefusalText(what, "\x82\xA0\x1b", "av\\x.mov");
    EXPECT_NE(line.find("\xE3\x81\x82? "), std::string::npos) << line;
    EXPECT_NE(line.find(" av\\x.mov"), std::string::npos) << line;
  }
  EXPECT_NE(RefusalText(Refusal::kOffer, "a", "b"), RefusalText(Refusal::kPush, "a", "b"));
  EXPECT_NE(RefusalText(Refusal::kPush, "a", "b"), RefusalText(Refusal::kFetch, "a", "b"));
}

TEST(SplitParams, BlanksSeparateAndEmptyPiecesGo) {
  EXPECT_EQ(SplitCommandLine("-x  /dir a"), (std::vector<std::string>{"-x", "/dir", "a"}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

}  // namespace
}  // namespace tellu
