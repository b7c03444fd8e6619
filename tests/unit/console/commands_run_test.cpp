// Slash commands and typed lines against a whole session on the fake ports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "chat/wire.h"
#include "console/commands.h"
#include "log/log_window_model.h"
#include "posix/posix_loop.h"
#include "session_rig.h"
#include "wire_bytes.h"

namespace tellu {
namespace {

class CommandsTest : public ::testing::Test, protected SessionRig {
 protected:
  CommandsTest() {
    files.Put("tellu.ini",
              "[SYSTEM]\r\nRN=5300\r\nSN=5301\r\n[SYS1]\r\nINIFILE=R.INI\r\nPRODIR=Path\r\n"
              "CHGSEC=S\r\nCHGKEY=Host\r\nPROG=x\r\n");
    files.Put("W\\R.INI", "[S]\r\nHost=server\r\nPath=C:\\R\r\n");
    Make(Session::Places{"tellu.ini", "W", "tellu.exe"});
    Launch(5300);
    host->Feed(Framed(Login("Demo")));
    server->TakeSent();
  }
  ~CommandsTest() override {
    std::fclose(out);
    std::free(buffer);
  }

  std::string Output() {
    std::fflush(out);
    std::string text(buffer, size);
    return text;
  }

  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  PosixLoop loop;
  Terminal terminal{loop, AskMode::kNo, out, false};
  Commands commands{*session, terminal};
};

TEST_F(CommandsTest, ATypedLineIsSentAsTheBarSendsIt) {
  EXPECT_TRUE(commands.Run("one\ttwo"));
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("one\t")) + Framed(BuildSay("two")));
  EXPECT_TRUE(commands.Run(std::string(120, 'x')));
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay(std::string(110, 'x'))));
  EXPECT_TRUE(commands.Run("//help"));
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("/help")));
}

// Typed UTF-8 as the console hands it on: a line with a character Shift-JIS
// cannot hold sends nothing, whatever it is, and says which on standard error.
TEST_F(CommandsTest, ALineShiftJisCannotHoldSendsNothing) {
  const struct {
    const char* typed;
    const char* named;  // nullptr: sent
  } cases[] = {
      {"hi \xF0\x9F\x98\x80 there", "\xF0\x9F\x98\x80 U+1F600"},
      {"\xED\x95\x9C\xEA\xB5\xAD \xE2\x99\xA5", "\xED\x95\x9C U+D55C, \xEA\xB5\xAD U+AD6D, \xE2\x99\xA5 U+2665"},
      {"caf\xC3\xA9", "\xC3\xA9 U+00E9"},
      {"/table 1 \xE2\x82\xAC", "\xE2\x82\xAC U+20AC"},
      {"a\xE2\x80\xAE" "b", "U+202E"},  // shown without the character itself
      {"x\xE3\x81", "ill-formed UTF-8 E3 81"},
      {"\xE3\x80\x9C \xC2\xA5", nullptr},  // wave dash, yen sign
      {"plain", nullptr},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(commands.Run(TypedText(c.typed)));
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string sent = server->TakeSent();
    if (c.named) {
      EXPECT_EQ(sent, "") << c.typed;
      EXPECT_NE(err.find(std::string("not sent: Shift-JIS cannot hold ") + c.named),
                std::string::npos)
          << err;
    } else {
      EXPECT_EQ(sent, Framed(BuildSay(TypedText(c.typed).sjis))) << c.typed;
      EXPECT_EQ(err, "") << c.typed;
    }
  }
}

TEST_F(CommandsTest, ReplyPutsTheLastSpeakerBeforeTheNextLine) {
  commands.Run("/f4");
  EXPECT_NE(Output().find("nobody has spoken yet"), std::string::npos);
  server->TakeSent();  // the position sent again
  server->Feed(Framed(BuildChatText("Momo", "hi")));
  commands.Run("/f4");
  EXPECT_NE(Output().find("[F4] Momo:"), std::string::npos);
  server->TakeSent();
  commands.Run("welcome");
  EXPECT_EQ(server->TakeSent(), Framed(BuildWhisper("Momo", "Demo", "welcome")));
  // The name is used once.
  commands.Run("again");
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("again")));
}

TEST_F(CommandsTest, MuteListChangesAreStoredAndShown) {
  commands.Run("/mute Momo");
  commands.Run("/mute a,b");
  EXPECT_EQ(session->settings().settings().mute_list, std::vector<std::string>{"Momo"});
  EXPECT_NE(files.Get("tellu.ini").find("MuteList=Momo"), std::string::npos);
  EXPECT_TRUE(session->settings().IsMuted("a,b"));
  commands.Run("/mutes");
  commands.Run("/unmute a,b");
  commands.Run("/unmute Momo");
  commands.Run("/unmute Momo");
  commands.Run("/mutes");
  const std::string out_text = Output();
  EXPECT_NE(out_text.find("muted Momo\n"), std::string::npos);
  EXPECT_NE(out_text.find("a,b cannot be kept in the mute list\n"), std::string::npos);
  EXPECT_NE(out_text.find("muted a,b for this run only, it will not be saved"), std::string::npos);
  EXPECT_NE(out_text.find("Momo\na,b  (this run only)\nunmuted a,b\n"), std::string::npos);
  EXPECT_NE(out_text.find("unmuted Momo\nMomo is not muted\nnobody is muted\n"),
            std::string::npos);
}

// A whisper as the server hands it on: a chat line of kind 11.
std::string WhisperFrom(std::string_view speaker, std::string_view text) {
  std::string payload = BuildChatText(speaker, text);
  payload[1] = '\x11';
  return payload;
}

TEST_F(CommandsTest, WhispersOnlyPrintsWhisperEntriesFromThenOn) {
  LogWindowModel window(session->log_store());
  session->chat()->set_log_window(&window);
  terminal.SetLogWindow(&window);
  const struct {
    const char* command;
    std::string from_server;
    std::string printed;
  } steps[] = {
      {"/whispers", BuildChatText("Momo", "hi"), "[whispers] only whispers are shown\n"},
      {nullptr, WhisperFrom("Momo", "psst"), "{Momo -> Demo} psst\n"},
      {"/whispers on", BuildChatText("Momo", "again"), "[whispers] only whispers are shown\n"},
      {"/whispers off", BuildChatText("Momo", "back"),
       "[whispers] all chat is shown\n<Momo> back\n"},
      {"/whispers", "", "[whispers] only whispers are shown\n"},
      {"/whispers", "", "[whispers] all chat is shown\n"},
  };
  for (const auto& step : steps) {
    const size_t before = Output().size();
    if (step.command) commands.Run(step.command);
    if (!step.from_server.empty()) server->Feed(Framed(step.from_server));
    terminal.LogChanged();
    terminal.Flush();  // the end of the loop round
    EXPECT_EQ(Output().substr(before), step.printed) << (step.command ? step.command : "");
  }
  terminal.SetLogWindow(nullptr);
  session->chat()->set_log_window(nullptr);
}

TEST_F(CommandsTest, StatusAndQuit) {
  commands.Run("/status 1");
  EXPECT_EQ(session->chat()->state().status, 1);
  EXPECT_FALSE(server->TakeSent().empty());
  EXPECT_FALSE(commands.Run("/quit"));
  EXPECT_TRUE(commands.Run("/bogus"));
  EXPECT_NE(Output().find("unknown command: /bogus"), std::string::npos);
}

TEST_F(CommandsTest, TableSendsAnEntryWithTheText) {
  files.Put("tellu.ini", files.Get("tellu.ini") + "MSG=M\r\n[M]\r\nTEXT2=Bye=See you %s\r\n");
  // The table is read at start: a new session picks it up.
  session.reset();
  session.emplace(Session::Ports{files, timers, ui, shell, registry, net},
                  Session::Places{"tellu.ini", "W", "tellu.exe"}, Session::Hooks{});
  session->Begin();
  ASSERT_TRUE(session->Launch(0));
  Commands fresh{*session, terminal};
  FakeNet::Peer* h = net.Accept(5300);
  FakeNet::Peer* s = net.LastConnect();
  s->Complete();
  h->Feed(Framed(Login("Demo")));
  s->TakeSent();
  fresh.Run("/table");
  EXPECT_NE(Output().find(" 2  Bye\n"), std::string::npos);
  fresh.Run("/table 2 soon");
  EXPECT_EQ(s->TakeSent(), Framed(BuildSay("See you soon")));
}

}  // namespace
}  // namespace tellu
