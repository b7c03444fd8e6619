// The host's side: what it sends first, what typed lines become, how it shows
// what the server sends, and a whole run against a real server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "host.h"
#include "server.h"
#include "test_client.h"

namespace tellu::chatsim {
namespace {

TEST(HostSession, GreetsWithTheLoginFirst) {
  HostSession host("Alice", "avatar\\a.mov", 3);
  const auto sent = host.Greeting();
  ASSERT_GE(sent.size(), 4u);
  const ClientMessage login = ParseFromClient(sent[0]);
  EXPECT_EQ(login.kind, ClientKind::kLogin);
  EXPECT_EQ(login.name, "Alice");
  EXPECT_EQ(ParseFromClient(sent[1]).avatar, "avatar\\a.mov");
  const ClientMessage entry = ParseFromClient(sent[2]);
  EXPECT_EQ(entry.kind, ClientKind::kRoomEntry);
  EXPECT_EQ(entry.room, 3);
  EXPECT_EQ(ParseFromClient(sent.back()).kind, ClientKind::kMove);
}

TEST(HostSession, TypedLinesBecomeMessages) {
  HostSession host("Alice", "a", 1);
  auto say = host.Typed("hello world\r\n");
  ASSERT_EQ(say.payloads.size(), 1u);
  EXPECT_EQ(say.payloads[0], BuildSay("hello world"));

  auto whisper = host.Typed("/w Bob see you  later");
  ASSERT_EQ(whisper.payloads.size(), 1u);
  const ClientMessage w = ParseFromClient(whisper.payloads[0]);
  EXPECT_EQ(w.kind, ClientKind::kWhisper);
  EXPECT_EQ(w.name, "Bob");
  EXPECT_EQ(w.speaker, "Alice");
  EXPECT_EQ(w.text, "see you  later");

  const Pos before = host.pos();
  auto move = host.Typed("/move 10 -4");
  ASSERT_EQ(move.payloads.size(), 1u);
  const Pos after = ParseFromClient(move.payloads[0]).pos;
  EXPECT_EQ(after.x, before.x + 10);
  EXPECT_EQ(after.y, before.y - 4);

  EXPECT_EQ(ParseFromClient(host.Typed("/avatar b\\c.mov").payloads.at(0)).avatar, "b\\c.mov");
  EXPECT_EQ(ParseFromClient(host.Typed("/request Bob").payloads.at(0)).kind,
            ClientKind::kAvatarRequest);
  EXPECT_TRUE(host.Typed("/quit").quit);
}

TEST(HostSession, MalformedCommandsSendNothing) {
  HostSession host("Alice", "a", 1);
  for (const char* line : {"/move 1", "/move a b", "/w", "/room 300", "/nonsense", ""}) {
    const auto r = host.Typed(line);
    EXPECT_TRUE(r.payloads.empty()) << line;
    EXPECT_FALSE(r.quit) << line;
  }
}

TEST(HostSession, ShowsArrivalsChatWhispersMovesAndLeavings) {
  HostSession host("Alice", "a", 1);
  EXPECT_EQ(host.Show(BuildNaming("Bob", 3)), std::vector<std::string>{"* Bob arrives"});
  EXPECT_TRUE(host.Show(BuildNaming("Bob", 3)).empty());  // named again, not a new arrival
  EXPECT_EQ(host.Show(BuildMove(3, {16, -8, 0, 0})), std::vector<std::string>{"~ Bob to 16,-8"});
  EXPECT_EQ(host.Show(BuildChat("Bob", "hi")), std::vector<std::string>{"<Bob> hi"});
  EXPECT_EQ(host.Show(BuildWhisperIn("Bob", "psst")),
            std::vector<std::string>{"{Bob -> Alice} psst"});
  EXPECT_EQ(host.Show(BuildRelease({3, 9})), std::vector<std::string>{"* Bob leaves"});
  EXPECT_EQ(host.Show(BuildMove(3, {})), std::vector<std::string>{"~ #3 to 0,0"});
  EXPECT_TRUE(host.Show(BuildNaming("Nobody", 12)).empty());
}

TEST(HostSession, WhatItShowsCannotSteerTheTerminal) {
  HostSession host("Alice", "a", 1);
  const auto lines = host.Show(BuildChat("\x1b]0;evil\x07", "\x1b[2Jgone"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].find('\x1b'), std::string::npos);
  EXPECT_EQ(lines[0].find('\x07'), std::string::npos);
}

TEST(RunHost, ReadsTheServerNameFromItsConfigurationAndTalks) {
  ServerOptions so;
  so.port = 0;
  ChatServer server(so);
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;
  server.Start();
  TestClient watcher(server.port());
  watcher.Login("Watcher");

  const auto dir = std::filesystem::temp_directory_path() /
                   ("chatsim_host_" + std::to_string(server.port()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream ini(dir / "rvk.ini", std::ios::binary);
    ini << "[Other]\r\nServer=nowhere.invalid\r\n[RVK]\r\nServer=127.0.0.1\r\n";
    std::ofstream script(dir / "script.txt");
    script << "hello from the host\n/expect <Host> hello from the host\n/quit\n";
  }
  HostOptions ho;
  ho.ini = (dir / "rvk.ini").string();
  ho.section = "rvk";
  ho.key = "server";
  ho.port = server.port();
  ho.script = (dir / "script.txt").string();
  int code = -1;
  std::thread host([&] { code = RunHost(ho); });
  EXPECT_TRUE(watcher.WaitFor(IsNaming("Host")));
  EXPECT_TRUE(watcher.WaitFor(IsChat("Host", "hello from the host")));
  host.join();
  EXPECT_EQ(code, 0);
  server.Stop();
  std::filesystem::remove_all(dir);
}

TEST(RunHost, AMissingServerNameIsAConfigurationFault) {
  HostOptions ho;
  ho.ini = "/nonexistent/rvk.ini";
  ho.section = "RVK";
  ho.key = "Server";
  EXPECT_EQ(RunHost(ho), 2);
}

}  // namespace
}  // namespace tellu::chatsim
