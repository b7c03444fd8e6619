// A whole run on the fake ports: launch, the wait for the host, the relay
// through the chat stream, the fatal paths, attach mode and the shutdown.
#include <gtest/gtest.h>

#include <optional>

#include "chat/wire.h"
#include "session_rig.h"
#include "wire_bytes.h"

namespace tellu {
namespace {

constexpr char kTellu[] = "C:\\TELLU\\tellu.ini";
constexpr char kHostIni[] = "C:\\WINDOWS\\RVK3.INI";
constexpr char kBackup[] = "C:\\WINDOWS\\RVK3.sav";
constexpr char kLog[] = "C:\\LOG\\t020203.txt";  // the fake clock's date
constexpr int kListen = 5300;
constexpr int kServer = 5301;
constexpr char kHostBytes[] =
    "[Server]\r\nHost=chat.example.jp\r\nPath=C:\\RVK\r\n[User]\r\nName=\x83\x5C\r\n";
constexpr char kSystem[] = "[SYSTEM]\r\nRN=5300\r\nSN=5301\r\n";
constexpr char kSlot1[] =
    "[SYS1]\r\nINIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\n"
    "PROG=&\\rvk3.exe\r\nSearchTimer=3\r\nLogChk=1\r\nLogName=C:\\LOG\\t\r\n"
    "WHISPERSW=1\r\nFontSort=Gothic\r\nFontSize=10.5\r\nMuteList=Baddy,Noisy\r\nMSG=M\r\n"
    "[M]\r\nTEXT1=Hi=Hello %s\r\n";

class SessionTest : public ::testing::Test, protected SessionRig {
 protected:
  SessionTest() {
    files.Put(kTellu, std::string(kSystem) + kSlot1);
    files.Put(kHostIni, kHostBytes);
  }

  Session& Make(std::string log_name = "") {
    Session::Hooks hooks;
    hooks.host_there = [this](int slot) {
      slots_asked.push_back(slot);
      return session->relay().HasHost();
    };
    hooks.host_ready = [this] { ++ready; };
    hooks.fatal = [this](const std::string& r) { report = r; };
    hooks.server_lost = [this](const std::string& text) { lost.push_back(text); };
    return SessionRig::Make(
        Session::Places{kTellu, "C:\\WINDOWS", "C:\\TELLU\\tellu.exe", log_name},
        std::move(hooks));
  }

  // Launches and lets the host connect and the server answer.
  void Connect() {
    Make();
    Launch(kListen);
    timers.Advance(1000);
  }

  std::vector<int> slots_asked;
  int ready = 0;
  std::optional<std::string> report;
  std::vector<std::string> lost;
};

TEST_F(SessionTest, TheFileIsPatchedWhileWaitingAndRestoredWhenTheHostConnects) {
  Make();
  ASSERT_TRUE(session->Begin());
  EXPECT_TRUE(net.Listening(kListen));
  ASSERT_TRUE(session->Launch(0));
  EXPECT_TRUE(session->launch_mode());
  EXPECT_NE(files.Get(kHostIni).find("Host=localhost"), std::string::npos);
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].program, "C:\\RVK\\rvk3.exe");

  timers.Advance(1000);
  EXPECT_TRUE(session->waiting_for_host());
  EXPECT_NE(files.Get(kHostIni).find("Host=localhost"), std::string::npos);
  host = net.Accept(kListen);
  ASSERT_NE(host, nullptr);
  // The relay goes to the host's real server, on SN.
  server = net.LastConnect();
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->host(), "chat.example.jp");
  EXPECT_EQ(server->port(), kServer);
  timers.Advance(1000);
  EXPECT_EQ(ready, 1);
  EXPECT_EQ(slots_asked, (std::vector<int>{1, 1}));
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
  EXPECT_FALSE(files.Exists(kBackup));
  EXPECT_FALSE(session->waiting_for_host());
  EXPECT_EQ(session->settings().settings().mute_list,
            (std::vector<std::string>{"Baddy", "Noisy"}));
  EXPECT_FALSE(report);
}

TEST_F(SessionTest, ChatFlowsBothWaysThroughTheParserAndTheLog) {
  Connect();
  host->Feed(Framed(Login("Demo")));
  EXPECT_EQ(server->TakeSent(), Framed(Login("Demo")));
  EXPECT_EQ(session->chat()->state().own_name, "Demo");

  server->Feed(Framed(BuildChatText("Momo", "hi")));
  EXPECT_EQ(host->TakeSent(), Framed(BuildChatText("Momo", "hi")));
  ASSERT_EQ(session->log_store().size(), 1u);
  EXPECT_EQ(session->log_store().pending().back().prefix, "<Momo>");

  session->Deliver("hello\r\nagain");
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("hello")));
  timers.Advance(1300);
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("again")));
  const Expansion e = session->SendMessageEntry(0, "all");
  EXPECT_TRUE(e.clears_field());
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("Hello all")));

  session->Shutdown();
  const std::string& log = files.Get(kLog);
  EXPECT_NE(log.find("<Momo> hi\r\n"), std::string::npos);
  EXPECT_NE(log.find("++++++++ End "), std::string::npos);
  EXPECT_FALSE(host->open());
  EXPECT_FALSE(server->open());
  EXPECT_FALSE(net.Listening(kListen));
}

// Texts written by hand into tellu.ini that are not Shift-JIS: one notice at
// start-up names their keys, and such an entry sends nothing.
TEST_F(SessionTest, UnsendableTextsOfTelluIniAreToldOnceAndNotSent) {
  std::string ini = std::string(kSystem) + kSlot1 + "TEXT2=Bad=ok \x82\r\nTEXT16=\x85\x40\r\n";
  ini.insert(ini.find("WHISPERSW"), "WHISPERMSG=\x82\xA0\x82\r\nAvaReqRefuseMsg=fine\r\n");
  files.Put(kTellu, ini);
  Connect();
  ASSERT_EQ(ui.notices.size(), 1u);
  const std::string& text = ui.notices[0].text;
  for (const char* key : {"WHISPERMSG, [M] TEXT2, [M] TEXT16\r\n", "cannot be sent"})
    EXPECT_NE(text.find(key), std::string::npos) << text;
  EXPECT_EQ(text.find("AvaReqRefuseMsg"), std::string::npos);
  EXPECT_EQ(ui.notices[0].icon, NoticeIcon::Exclamation);
  host->Feed(Framed(Login("Demo")));
  server->TakeSent();
  const Expansion e = session->SendMessageEntry(1, "typed");
  EXPECT_EQ(e.field, "typed");
  EXPECT_EQ(server->TakeSent(), "");
  EXPECT_EQ(ui.beeps, 1);
  session->SendMessageEntry(0, "all");
  EXPECT_EQ(server->TakeSent(), Framed(BuildSay("Hello all")));
  EXPECT_EQ(ui.notices.size(), 1u);
}

// One switch: what the dialog's OK sets is what the file does, and a file
// that cannot be opened turns the dialog's check box off.
TEST_F(SessionTest, TheLogSwitchIsTheSettingsOne) {
  Connect();
  auto line = [&](const char* text) { server->Feed(Framed(BuildChatText("Momo", text))); };
  auto ok = [&](int log_chk, const char* folder) {
    DialogSettings d = DialogCopy(session->settings().settings());
    d.log_chk = log_chk;
    d.log_folder = folder;
    session->TakeDialogSettings(d);
  };
  line("one");
  ok(0, "");
  EXPECT_NE(files.Get(kLog).find("<Momo> one\r\n++++++++ End "), std::string::npos);
  EXPECT_FALSE(session->log_file()->is_open());
  ok(1, "C:\\GONE\\u");
  files.unopenable.insert("C:\\GONE\\u020203.txt");
  line("two");
  EXPECT_EQ(session->settings().settings().log_chk, 0);
  EXPECT_EQ(DialogCopy(session->settings().settings()).log_chk, 0);
  const std::string ini = files.Get(kTellu);
  EXPECT_NE(ini.find("LogName=\r\n"), std::string::npos);
  EXPECT_NE(ini.find("LogChk=1\r\n"), std::string::npos);
}

TEST_F(SessionTest, LosingTheServerIsTold) {
  Connect();
  server->Close();
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0], kServerLostNotice);
}

TEST_F(SessionTest, HostNeverThereIsFatalAfterTheLimitWithTheFileRestored) {
  Make();
  session->Begin();
  ASSERT_TRUE(session->Launch(0));
  timers.Advance(2999);
  EXPECT_FALSE(report);
  timers.Advance(1);
  ASSERT_TRUE(report);
  EXPECT_EQ(*report,
            "*** let RV/K run but cann't find! ***\r\n[history]\r\nStart Tellu\r\n"
            "checking tellu.ini :C:\\TELLU\\tellu.ini\r\n"
            "checking ini_file :C:\\WINDOWS\\RVK3.INI\r\nreading ini_file :C:\\WINDOWS\\RVK3.INI\r\n"
            "execute C:\\RVK\\rvk3.exe\r\n");
  EXPECT_EQ(session->mode(), Session::Mode::kFailed);
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
  EXPECT_FALSE(files.Exists(kBackup));
  EXPECT_EQ(ready, 0);
}

TEST_F(SessionTest, NoCompleteSlotIsFatalAndStartsNothing) {
  files.Put(kTellu, std::string(kSystem) + "[SYS1]\r\nINIFILE=RVK3.INI\r\nCHGSEC=Server\r\n");
  Make();
  session->Begin();
  EXPECT_FALSE(session->Launch(0));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->rfind("*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
                          "checking tellu.ini :C:\\TELLU\\tellu.ini\r\n",
                          0),
            0u);
  EXPECT_TRUE(shell.started.empty());
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);

  files.Put(kTellu, kSystem);
  Make();
  EXPECT_FALSE(session->Launch(0));
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0].text, "cann't find tellu.ini.");
}

TEST_F(SessionTest, AFirstStartWithoutTelluIniSaysSoAndTheReportNamesTheFileTried) {
  files.Delete(kTellu);
  Make();
  session->Begin();
  EXPECT_FALSE(session->Launch(0));
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0].text, "cann't find tellu.ini.");
  ASSERT_TRUE(report);
  EXPECT_EQ(*report,
            "*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
            "checking tellu.ini :C:\\TELLU\\tellu.ini\r\n");
  EXPECT_EQ(session->mode(), Session::Mode::kFailed);
  EXPECT_TRUE(shell.started.empty());
  // Nothing was written: no slot was chosen.
  EXPECT_FALSE(files.Exists(kTellu));
}

TEST_F(SessionTest, AFrontEndsLogFolderFillsOnlyAnEmptyLogName) {
  const struct {
    const char* log_name_line;  // in the slot section
    const char* front_end;      // the front end's folder
    const char* expected;       // LogName after the start
  } cases[] = {
      {"", "Z:\\home\\u\\.local\\state\\tellu\\", "Z:\\home\\u\\.local\\state\\tellu\\"},
      {"LogName=\r\n", "/st/tellu/", "/st/tellu/"},
      {"LogName=C:\\LOG\\t\r\n", "/st/tellu/", "C:\\LOG\\t"},
      // Without one, the program's own rule.
      {"", "", "C:\\TELLU\\te"},
  };
  for (const auto& c : cases) {
    std::string slot = kSlot1;
    const std::string given = "LogName=C:\\LOG\\t\r\n";
    slot.replace(slot.find(given), given.size(), c.log_name_line);
    files.Put(kTellu, std::string(kSystem) + slot);
    Make(c.front_end);
    session->Begin();
    ASSERT_TRUE(session->Launch(0)) << c.front_end;
    EXPECT_EQ(session->settings().settings().log_name, c.expected) << c.front_end;
    EXPECT_EQ(session->settings().ReadText("LogName"), c.expected) << c.front_end;
    session->Shutdown();
  }
}

TEST_F(SessionTest, ShutdownWhileWaitingRestoresOnce) {
  Make();
  session->Begin();
  ASSERT_TRUE(session->Launch(0));
  session->Shutdown();
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
  EXPECT_FALSE(files.Exists(kBackup));
  EXPECT_FALSE(net.Listening(kListen));
  EXPECT_EQ(timers.active(), 0u);
  // A later shutdown (the destructor's) does nothing more.
  files.Put(kBackup, "stale");
  session->Shutdown();
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
}

TEST_F(SessionTest, AttachModeReadsOnlyTheFontAndTheMuteList) {
  Make();
  session->Begin();
  session->Attach(1);
  EXPECT_FALSE(session->launch_mode());
  const Settings& s = session->settings().settings();
  EXPECT_EQ(s.slot_section, "SYS1");
  EXPECT_EQ(s.font_face, "Gothic");
  EXPECT_EQ(s.font_tenths, 105);
  EXPECT_EQ(s.search_timer, 3);
  EXPECT_EQ(s.mute_list, (std::vector<std::string>{"Baddy", "Noisy"}));
  EXPECT_EQ(s.whisper_sw, 0);
  EXPECT_EQ(s.log_chk, 0);
  EXPECT_EQ(s.messages[0].label, "Hi");
  EXPECT_TRUE(session->launch().host_ini_path().empty());
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
  EXPECT_TRUE(shell.started.empty());
  // LogName is not even given its default in attach mode.
  EXPECT_EQ(files.Get(kTellu), std::string(kSystem) + kSlot1);
  EXPECT_EQ(session->avatar(), nullptr);
}

}  // namespace
}  // namespace tellu
