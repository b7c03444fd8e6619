// tellu-cli.exe as a person runs it on Windows: standard input from a pipe,
// the log on standard output, the report of a failed start on standard
// error, and a relay between a host and a chat server that the test plays.
#include <gtest/gtest.h>

#include <string>

#include "chatsim/wire.h"
#include "cli_process_test.h"

namespace tellu::wintest {
namespace {

// The host's configuration file: CR LF, a Shift-JIS value, a comment; every
// byte must survive the patch and the restore.
std::string HostIni(const std::wstring& host_dir) {
  return "; RV/K3 settings\r\n[Server]\r\nHost = 127.0.0.1\r\nPath=" +
         std::string(host_dir.begin(), host_dir.end()) + "\r\n[User]\r\nName=\x83\x66\x83\x82\r\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

std::wstring SelfPath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CliRun, WithoutASlotInTelluIniTheStartFailsWithTheReportOnStandardError) {
  const std::wstring windows = ScratchDir(L"cli_fatal");
  ASSERT_TRUE(WriteBytes(windows + L"\\TELLU.INI",
                         "[SYSTEM]\r\nRN=" + std::to_string(FreePort()) + "\r\n"));
  CliProcess cli(L"--windows-dir \"" + windows + L"\"");
  ASSERT_TRUE(cli.started());
  cli.Type("never read\n");
  EXPECT_EQ(cli.Wait(), 2);
  const std::string err = cli.Err();
  const std::string dir(windows.begin(), windows.end());
  EXPECT_TRUE(Contains(err, "tellu-cli: settings from " + dir + "\\TELLU.INI\n")) << err;
  EXPECT_TRUE(Contains(err, "*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
                            "checking tellu.ini :" + dir + "\\TELLU.INI\n"))
      << err;
  EXPECT_TRUE(Contains(cli.Out(), "cann't find tellu.ini.\n")) << cli.Out();
}

TEST(CliRun, AHostThatNeverComesIsFatalAtTheLimitWithTheFileRestored) {
  const std::wstring root = ScratchDir(L"cli_nohost");
  const std::wstring windows = root + L"\\windows";
  const std::wstring host_dir = root + L"\\rvk3";
  CreateDirectoryW(windows.c_str(), nullptr);
  CreateDirectoryW(host_dir.c_str(), nullptr);
  const std::wstring host_ini = windows + L"\\RVK3.INI";
  const std::string original = HostIni(host_dir);
  ASSERT_TRUE(WriteBytes(host_ini, original));
  ASSERT_TRUE(WriteBytes(windows + L"\\TELLU.INI",
                         "[SYSTEM]\r\nRN=" + std::to_string(FreePort()) +
                             "\r\n[SYS1]\r\nINIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\n"
                             "CHGKEY=Host\r\nPROG=&\\nohost.exe -x\r\nSearchTimer=1\r\n"));
  CliProcess cli(L"--windows-dir \"" + windows + L"\"");
  ASSERT_TRUE(cli.started());
  EXPECT_EQ(cli.Wait(), 2);
  const std::string err = cli.Err();
  const std::string win(windows.begin(), windows.end());
  const std::string host(host_dir.begin(), host_dir.end());
  // The system's reason follows the program's name.
  EXPECT_TRUE(Contains(err, "tellu-cli: cannot start " + host + "\\nohost.exe: ")) << err;
  EXPECT_TRUE(Contains(err, "*** let RV/K run but cann't find! ***\n[history]\nStart Tellu\n"
                            "checking tellu.ini :" + win + "\\TELLU.INI\n"
                            "checking ini_file :" + win + "\\RVK3.INI\n"
                            "reading ini_file :" + win + "\\RVK3.INI\n"
                            "execute " + host + "\\nohost.exe\n")) << err;
  EXPECT_EQ(ReadBytes(host_ini), original);
  EXPECT_FALSE(Exists(windows + L"\\RVK3.sav"));
}

TEST(CliRun, RelaysBetweenHostAndServerTakesTypedLinesAndQuitsWithTheFileRestored) {
  const std::wstring root = ScratchDir(L"cli_relay");
  const std::wstring windows = root + L"\\windows";
  const std::wstring host_dir = root + L"\\rvk3";
  CreateDirectoryW(windows.c_str(), nullptr);
  CreateDirectoryW(host_dir.c_str(), nullptr);
  // The host program is this test program: it copies the configuration it
  // was started with, and ends.
  ASSERT_TRUE(CopyFileW(SelfPath().c_str(), (host_dir + L"\\host.exe").c_str(), FALSE));
  const std::wstring host_ini = windows + L"\\RVK3.INI";
  const std::string original = HostIni(host_dir);
  ASSERT_TRUE(WriteBytes(host_ini, original));

  TestListener server_side;
  const int listen_port = FreePort();
  ASSERT_TRUE(WriteBytes(
      windows + L"\\TELLU.INI",
      "[SYSTEM]\r\nRN=" + std::to_string(listen_port) + "\r\nSN=" +
          std::to_string(server_side.port()) +
          "\r\n[SYS1]\r\nINIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\n"
          "PROG=&\\host.exe --copy-file ..\\windows\\RVK3.INI seen.ini\r\nSearchTimer=20\r\n"));
  CliProcess cli(L"S1 --windows-dir \"" + windows + L"\"");
  ASSERT_TRUE(cli.started());

  // The host was started with the server entry pointing at Tellu.
  ASSERT_TRUE(Poll([&] { return Exists(host_dir + L"\\seen.ini"); })) << cli.Err();
  ASSERT_TRUE(Poll([&] { return !ReadBytes(host_dir + L"\\seen.ini").empty(); }));
  EXPECT_EQ(ReadBytes(host_dir + L"\\seen.ini"), Replaced(original, "127.0.0.1", "localhost"));

  FramedSocket host = ConnectTo(listen_port);
  ASSERT_TRUE(host.ok());
  const std::string login = chatsim::BuildLogin("rvk3", "1", "Demo");
  ASSERT_TRUE(host.Send(login));
  FramedSocket server = server_side.Accept();
  ASSERT_TRUE(server.ok()) << cli.Err();
  std::string payload;
  ASSERT_TRUE(server.Next(payload));
  EXPECT_EQ(payload, login);
  ASSERT_TRUE(Poll([&] { return Contains(cli.Err(), "the host is connected"); }))
      << cli.Err();
  EXPECT_EQ(ReadBytes(host_ini), original) << cli.Err();
  EXPECT_FALSE(Exists(windows + L"\\RVK3.sav"));

  // Typed lines, in UTF-8, reach the server as says.
  auto say = [](const std::string& p) {
    return chatsim::ParseFromClient(p).kind == chatsim::ClientKind::kSay;
  };
  ASSERT_TRUE(cli.Type("hello from the cli\n"));
  ASSERT_TRUE(server.NextWhere(say, payload)) << cli.Err();
  EXPECT_EQ(chatsim::ParseFromClient(payload).text, "hello from the cli");
  const std::string konnichiwa = "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF";
  ASSERT_TRUE(cli.Type(konnichiwa + "\r\n"));
  ASSERT_TRUE(server.NextWhere(say, payload)) << cli.Err();
  EXPECT_EQ(chatsim::ParseFromClient(payload).text, konnichiwa);

  // A chat line from the server reaches the host and the log on standard output.
  const std::string yaa = "\xE3\x82\x84\xE3\x81\x82";  // "やあ"
  const std::string chat = chatsim::BuildChat("Momo", yaa);
  ASSERT_TRUE(server.Send(chat));
  ASSERT_TRUE(host.NextWhere([&](const std::string& p) { return p == chat; }, payload));
  EXPECT_TRUE(Poll([&] { return Contains(cli.Out(), "<Momo> " + yaa + "\n"); }))
      << cli.Out();

  ASSERT_TRUE(cli.Type("/quit\n"));
  EXPECT_EQ(cli.Wait(), 0) << cli.Err();
  EXPECT_EQ(ReadBytes(host_ini), original);
  EXPECT_FALSE(Exists(windows + L"\\RVK3.sav"));
}

}  // namespace
}  // namespace tellu::wintest

int main(int argc, char** argv) {
  // Started by tellu-cli as the host program: keep the configuration it
  // sees, and end.
  if (argc == 4 && std::string(argv[1]) == "--copy-file")
    return CopyFileA(argv[2], argv[3], FALSE) ? 0 : 1;
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  WSACleanup();
  return status;
}
