// The transfer state machines fed as a peer would feed them: whole, byte by
// byte and cut at every offset, with the protocol's errors and limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/avatar/fake_site.h"

namespace tellu::avatar_test {
namespace {

const std::string kRef = "avatar\\foo.mov";
const std::string kFinal = "C:\\host\\avatar\\foo.mov";
const std::string kTemp = "C:\\host\\avatar\\foo.tmp";

// Bytes of every value, line feeds and zeros included.
std::string Data(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return s;
}

// What a sender puts on the wire for a file, all chunks at once.
std::string SenderStream(const std::string& data, const char* size_digits) {
  std::string out = size_digits;
  for (size_t at = 0; at < data.size(); at += 512) {
    size_t n = std::min<size_t>(512, data.size() - at);
    char head[8];
    std::snprintf(head, sizeof head, "%04zX", n);
    out += head + data.substr(at, n);
  }
  return out;
}

// Pieces of `bytes`: cut at each offset given.
std::vector<std::string> Cut(const std::string& bytes, std::vector<size_t> cuts) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (size_t c : cuts) {
    pieces.push_back(bytes.substr(from, c - from));
    from = c;
  }
  pieces.push_back(bytes.substr(from));
  return pieces;
}

std::vector<std::string> ByteByByte(const std::string& bytes) {
  std::vector<std::string> pieces;
  for (char c : bytes) pieces.emplace_back(1, c);
  return pieces;
}

// ----- receiving on the connecting side (SCmdAvaRcv, get) -----

struct Receiver {
  FakeSite site;
  SCmdAvaRcv* t = nullptr;
  FakeNet::Peer* peer = nullptr;

  Receiver() {
    t = &site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kGet});
    peer = site.net_.LastConnect();
    peer->Complete("192.0.2.10");
  }
  void Feed(const std::vector<std::string>& pieces) {
    for (const std::string& p : pieces) peer->Feed(p);
  }
};

// The accepted side: a peer connected and greeted.
struct Accepted {
  FakeSite site;
  FakeNet::Peer* peer = nullptr;
  Accepted() {
    site.ListenForPeers();
    peer = site.PeerConnects();
  }
  SCmdAccept& accept() { return site.LastAccepted(); }
};

void ExpectReceived(Receiver& r, const std::string& data, const std::string& acks) {
  EXPECT_EQ(r.peer->sent(), "getava,me," + kRef + "\n" + acks);
  EXPECT_EQ(r.site.fake_files.Get(kFinal), data);
  EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  EXPECT_TRUE(r.peer->closed_by_program());
  EXPECT_TRUE(r.site.IsReleased(r.t));
  EXPECT_EQ(r.site.refreshed, std::vector<std::string>{kFinal});
  EXPECT_FALSE(r.site.ui_.progress.back()->open);
}

TEST(AvatarReceive, ThousandBytesWholeByteByByteAndAtEveryCut) {
  const std::string data = Data(1000);
  const std::string stream = "ok\n" + SenderStream(data, "000003E8");
  ASSERT_EQ(stream.substr(3, 12), "000003E80200");
  ASSERT_EQ(stream.substr(3 + 12 + 512, 4), "01E8");
  {
    Receiver r;
    r.Feed({stream});
    ExpectReceived(r, data, "@\n@\n");
  }
  {
    Receiver r;
    r.Feed(ByteByByte(stream));
    ExpectReceived(r, data, "@\n@\n");
  }
  for (size_t cut = 1; cut < stream.size(); ++cut) {
    Receiver r;
    r.Feed(Cut(stream, {cut}));
    ASSERT_EQ(r.site.fake_files.Get(kFinal), data) << "cut at " << cut;
    ASSERT_EQ(r.peer->sent(), "getava,me," + kRef + "\n@\n@\n") << "cut at " << cut;
  }
}

TEST(AvatarReceive, AnExistingFileIsReplacedAndTheTemporaryFileGoes) {
  Receiver r;
  r.site.fake_files.Put(kFinal, "an older avatar, longer than the new one");
  r.Feed({"ok\n" + SenderStream("new", "00000003")});
  ExpectReceived(r, "new", "@\n");
}

TEST(AvatarReceive, SizesAtTheChunkBoundary) {
  {
    Receiver r;
    const std::string data = Data(512);
    r.Feed({"ok\n00000200", "0200" + data});
    ExpectReceived(r, data, "@\n");  // finished after the first acknowledgement
  }
  {
    Receiver r;
    const std::string data = Data(513);
    const std::string stream = SenderStream(data, "00000201");
    EXPECT_EQ(stream.substr(8 + 4 + 512, 4), "0001");
    r.Feed({"ok\n", stream});
    ExpectReceived(r, data, "@\n@\n");
  }
}

// A sender following the protocol sends the size and an empty first chunk,
// then waits for an "@" before it ends.
TEST(AvatarReceive, ASizeOfZeroIsAcknowledgedAndFinishesWithAnEmptyFile) {
  for (const char* stream : {"ok\n00000000", "ok\n00000000" "0000"}) {
    Receiver r;
    r.site.fake_files.Put(kFinal, "old");
    r.Feed({stream});
    ExpectReceived(r, "", "@\n");
  }
  Accepted a;
  a.peer->Feed("putava,you," + kRef + "\n" "00000000" "0000");
  EXPECT_EQ(a.peer->sent(), "@\n");
  EXPECT_TRUE(a.accept().ended());
  EXPECT_EQ(a.site.fake_files.Get(kFinal), "");
}

TEST(AvatarReceive, ASizeAboveTheLimitIsRefusedBeforeAnythingIsWritten) {
  char over[9], limit[9];
  std::snprintf(over, sizeof over, "%08X", Transfer::kMaxSize + 1);
  std::snprintf(limit, sizeof limit, "%08X", Transfer::kMaxSize);
  {
    Receiver r;
    r.site.fake_files.Put(kFinal, "kept");
    r.Feed({std::string("ok\n") + over + "0200" + Data(512)});
    EXPECT_TRUE(r.t->ended());
    EXPECT_EQ(r.peer->sent(), "getava,me," + kRef + "\n");  // no acknowledgement
    EXPECT_EQ(r.site.fake_files.Get(kFinal), "kept");
    EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  }
  {
    Accepted a;
    a.peer->Feed("putava,you," + kRef + "\n" + over + "0200" + Data(512));
    EXPECT_TRUE(a.accept().ended());
    EXPECT_EQ(a.peer->sent(), "");
    EXPECT_FALSE(a.site.fake_files.Exists(kTemp));
  }
  Receiver r;  // the limit itself is taken
  r.Feed({std::string("ok\n") + limit + "0200" + Data(512)});
  EXPECT_FALSE(r.t->ended());
  EXPECT_EQ(r.site.fake_files.Get(kTemp), Data(512));
}

TEST(AvatarReceive, LowerCaseDigitsCountZero) {
  Receiver r;
  r.Feed({"ok\n000003e8"});
  EXPECT_EQ(r.t->total(), 0x308u);
  const std::string data = Data(0x308);
  r.Feed({SenderStream(data, "").substr(0)});
  ExpectReceived(r, data, "@\n@\n");
}

TEST(AvatarReceive, AChunkLongerThanTheBufferIsAProtocolError) {
  Receiver r;
  r.site.fake_files.Put(kFinal, "kept");
  r.Feed({"ok\n00000400" "0201" + Data(513)});
  EXPECT_TRUE(r.t->ended());
  EXPECT_EQ(r.peer->sent(), "getava,me," + kRef + "\n");  // no acknowledgement
  EXPECT_EQ(r.site.fake_files.Get(kFinal), "kept");
  EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  EXPECT_TRUE(r.site.refreshed.empty());
}

TEST(AvatarReceive, AnEmptyChunkWhileBytesAreDueIsAProtocolError) {
  Receiver r;
  r.Feed({"ok\n00000010" "0000"});
  EXPECT_TRUE(r.t->ended());
  EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
}

TEST(AvatarReceive, GreetingRules) {
  {
    Receiver r;
    r.Feed({"no\n"});
    EXPECT_TRUE(r.t->ended());
    EXPECT_EQ(r.peer->sent(), "");
    EXPECT_TRUE(r.peer->closed_by_program());
    EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  }
  {
    Receiver r;
    r.Feed({"1234567"});  // seven bytes: still waiting for the line end
    EXPECT_FALSE(r.t->ended());
    r.Feed({"8"});
    EXPECT_TRUE(r.t->ended());
  }
  {
    Receiver r;
    r.Feed({"ok\r"});  // any control byte ends the line
    EXPECT_EQ(r.peer->sent(), "getava,me," + kRef + "\n");
    EXPECT_EQ(r.t->state(), Transfer::kSizeDigits);
  }
}

TEST(AvatarReceive, ThePeerClosingEndsItAtOnceAndNoTemporaryFileStays) {
  Receiver r;
  r.Feed({"ok\n00000400" "0200" + Data(512)});
  ASSERT_TRUE(r.site.fake_files.Exists(kTemp));
  r.peer->Close();
  EXPECT_TRUE(r.t->ended());
  EXPECT_TRUE(r.site.IsReleased(r.t));
  EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  EXPECT_FALSE(r.site.fake_files.Exists(kFinal));
  EXPECT_FALSE(r.site.ui_.progress.back()->open);
}

TEST(AvatarReceive, CancellingTheWindowEndsTheTransfer) {
  Receiver r;
  r.Feed({"ok\n00000400"});
  r.site.ui_.progress.back()->Cancel();
  EXPECT_TRUE(r.t->ended());
  EXPECT_TRUE(r.peer->closed_by_program());
  EXPECT_FALSE(r.site.fake_files.Exists(kTemp));
  r.Feed({"0200" + Data(512)});  // nothing more is taken
  EXPECT_EQ(r.peer->sent(), "getava,me," + kRef + "\n");
}

// A file system whose writes fail once `budget` bytes have been written.
class ShortDisk : public FakeFiles {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
    auto f = FakeFiles::Open(path, mode);
    if (!f || mode == OpenMode::Read) return f;
    return std::make_unique<Limited>(std::move(f), budget);
  }
  size_t budget = 0;

 private:
  class Limited : public File {
   public:
    Limited(std::unique_ptr<File> f, size_t budget) : f_(std::move(f)), left_(budget) {}
    size_t Read(char* b, size_t n) override { return f_->Read(b, n); }
    bool Write(std::string_view bytes) override {
      if (bytes.size() > left_) return false;
      left_ -= bytes.size();
      return f_->Write(bytes);
    }
    bool Flush() override { return f_->Flush(); }

   private:
    std::unique_ptr<File> f_;
    size_t left_;
  };
};

// The peer sends as the protocol says, each chunk after the "@" of the one
// before: it must see every acknowledgement and end as usual, while the
// final file stays as it was.
TEST(AvatarReceive, AFailedWriteIsStillAcknowledgedAndTheFinalFileKept) {
  const std::string data = Data(1000);
  const std::string first = "000003E8" "0200" + data.substr(0, 512);
  const std::string second = "01E8" + data.substr(512);
  for (size_t budget : {0u, 512u}) {
    FakeSite site;
    ShortDisk disk;
    disk.budget = budget;
    site.files_ = &disk;
    disk.Put(kFinal, "kept");
    SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kGet});
    FakeNet::Peer* peer = site.net_.LastConnect();
    peer->Complete();
    peer->Feed("ok\n" + first);
    EXPECT_EQ(peer->TakeSent(), "getava,me," + kRef + "\n@\n");
    EXPECT_FALSE(t.ended());
    peer->Feed(second);
    EXPECT_EQ(peer->TakeSent(), "@\n") << budget;
    EXPECT_TRUE(t.ended());
    EXPECT_EQ(disk.Get(kFinal), "kept");
    EXPECT_FALSE(disk.Exists(kTemp));
    EXPECT_TRUE(site.refreshed.empty());
    EXPECT_TRUE(site.received.empty());
  }
  // The accepted side, pushed to: its peer ends on the last "@" too.
  FakeSite site;
  ShortDisk disk;
  disk.budget = 0;
  site.files_ = &disk;
  disk.Put(kFinal, "kept");
  site.ListenForPeers();
  FakeNet::Peer* peer = site.PeerConnects();
  peer->Feed("putava,you," + kRef + "\n" + first);
  EXPECT_EQ(peer->TakeSent(), "@\n");
  peer->Feed(second);
  EXPECT_EQ(peer->TakeSent(), "@\n");
  EXPECT_TRUE(site.LastAccepted().ended());
  EXPECT_EQ(disk.Get(kFinal), "kept");
  EXPECT_FALSE(disk.Exists(kTemp));
  EXPECT_TRUE(site.refreshed.empty());
}

TEST(AvatarReceive, SetUpFailuresEndItSilently) {
  {
    FakeSite site;
    site.fake_files.unopenable.insert(kTemp);
    SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kGet});
    EXPECT_TRUE(t.ended());
    EXPECT_TRUE(site.net_.connects().empty());
  }
  {
    FakeSite site;
    SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kGet});
    site.net_.LastConnect()->Fail();
    EXPECT_TRUE(t.ended());
    EXPECT_TRUE(site.IsReleased(&t));
    EXPECT_FALSE(site.fake_files.Exists(kTemp));
  }
  // Orders come from other users' whispers: no host name, no odd file.
  for (const TransferOrder& order :
       {TransferOrder{"bob", "", kRef, TransferDirection::kGet},
        TransferOrder{"bob", "evil.example", kRef, TransferDirection::kGet},
        TransferOrder{"bob", "198.51.100.2", "..\\foo.mov", TransferDirection::kGet},
        TransferOrder{"bob", "198.51.100.2", "C:\\foo.mov", TransferDirection::kGet}}) {
    FakeSite site;
    SCmdAvaRcv& t = site.Open(order);
    EXPECT_TRUE(t.ended()) << order.address << " " << order.file;
    EXPECT_TRUE(site.net_.connects().empty());
    EXPECT_TRUE(site.fake_files.contents().empty());
  }
}

TEST(AvatarReceive, TwoTransfersOfOneFileWriteTwoTemporaryFiles) {
  FakeSite site;
  SCmdAvaRcv& a = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kGet});
  SCmdAvaRcv& b = site.Open({"ann", "198.51.100.3", kRef, TransferDirection::kGet});
  EXPECT_EQ(a.temp_path(), kTemp);
  EXPECT_NE(b.temp_path(), kTemp);
  FakeNet::Peer* pa = site.net_.connects()[0];
  FakeNet::Peer* pb = site.net_.connects()[1];
  pa->Complete();
  pb->Complete();
  pa->Feed("ok\n" "00000003" "0003");
  pb->Feed("ok\n" + SenderStream("second", "00000006"));
  pa->Feed("one");
  EXPECT_EQ(site.fake_files.Get(kFinal), "one");
  EXPECT_EQ(site.fake_files.contents().size(), 1u);
  EXPECT_TRUE(site.temps.empty());
}

TEST(AvatarTemporaryPath, OnlyTheFileNameIsCut) {
  EXPECT_EQ(TemporaryPath("C:\\host\\avatar\\foo.mov"), "C:\\host\\avatar\\foo.tmp");
  EXPECT_EQ(TemporaryPath("C:\\rv.k3\\avatar\\foo.mov"), "C:\\rv.k3\\avatar\\foo.tmp");
  EXPECT_EQ(TemporaryPath("C:\\host\\avatar\\a.b.mov"), "C:\\host\\avatar\\a.tmp");
  EXPECT_EQ(TemporaryPath("C:\\host\\noext"), "C:\\host\\noext.tmp");
  // 95 5C is one character (表), not a folder end.
  EXPECT_EQ(TemporaryPath("C:\\a.b\\\x95\x5C.mov"), "C:\\a.b\\\x95\x5C.tmp");
}

// ----- the accepted side (SCmdAccept, then SCmdAvaSnd) -----

TEST(AvatarSend, AGetCommandIsAnsweredChunkByChunkAfterEachAcknowledgement) {
  const std::string data = Data(1000);
  for (bool split_acks : {false, true}) {
    Accepted a;
    a.site.fake_files.Put(kFinal, data);
    a.peer->Feed("getava,you," + kRef + "\n");
    ASSERT_NE(a.accept().transfer(), nullptr);
    EXPECT_EQ(a.peer->TakeSent(), "000003E8" "0200" + data.substr(0, 512));
    if (split_acks) {
      a.peer->Feed("@");
      EXPECT_EQ(a.peer->TakeSent(), "");
      a.peer->Feed("\n");
    } else {
      a.peer->Feed("@\n");
    }
    EXPECT_EQ(a.peer->TakeSent(), "01E8" + data.substr(512));
    EXPECT_FALSE(a.accept().ended());
    a.peer->Feed("@\n");
    EXPECT_TRUE(a.accept().ended());
    EXPECT_TRUE(a.peer->closed_by_program());
    EXPECT_TRUE(a.site.IsReleased(&a.accept()));
    EXPECT_EQ(a.site.ui_.progress.back()->title, "Tellu Sending");
  }
}

// An empty file is its size alone; the sender then waits, as after a last
// chunk, for the receiver's "@" or its close.
TEST(AvatarSend, AnEmptyFileIsJustItsSizeAndEndsOnTheReceiversWord) {
  for (bool ack : {true, false}) {
    Accepted a;
    a.site.fake_files.Put(kFinal, "");
    a.peer->Feed("getava,you," + kRef + "\n");
    EXPECT_EQ(a.peer->sent(), "00000000");
    EXPECT_FALSE(a.peer->closed_by_program());
    EXPECT_FALSE(a.accept().ended());
    if (ack) a.peer->Feed("@\n");
    else a.peer->Close();
    EXPECT_TRUE(a.accept().ended()) << ack;
  }
  FakeSite site;
  site.fake_files.Put(kFinal, "");
  SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kPut});
  FakeNet::Peer* peer = site.net_.LastConnect();
  peer->Complete();
  peer->Feed("ok\n");
  EXPECT_EQ(peer->TakeSent(), "putava,me," + kRef + "\n" "00000000");
  EXPECT_FALSE(t.ended());
  peer->Feed("@\n");
  EXPECT_TRUE(t.ended());
  EXPECT_TRUE(peer->closed_by_program());
}

TEST(AvatarSend, AcknowledgementRules) {
  {
    Accepted a;
    a.site.fake_files.Put(kFinal, Data(1000));
    a.peer->Feed("getava,you," + kRef + "\n");
    a.peer->Feed("x\n");
    EXPECT_TRUE(a.accept().ended());
  }
  {
    Accepted a;
    a.site.fake_files.Put(kFinal, Data(1000));
    a.peer->Feed("getava,you," + kRef + "\n");
    a.peer->Feed("@\r\n");
    EXPECT_TRUE(a.accept().ended());
  }
  {
    Accepted a;
    a.site.fake_files.Put(kFinal, Data(1000));
    a.peer->Feed("getava,you," + kRef + "\n");
    a.peer->Feed(std::string(511, '@'));
    EXPECT_FALSE(a.accept().ended());
    a.peer->Feed("@");  // the 512th byte without a line feed
    EXPECT_TRUE(a.accept().ended());
  }
}

TEST(AvatarSend, AFileThatShrinksUnderwayIsNotPaddedWithStaleBytes) {
  Accepted a;
  a.site.fake_files.Put(kFinal, Data(1000));
  a.peer->Feed("getava,you," + kRef + "\n");
  a.peer->TakeSent();
  a.site.fake_files.Put(kFinal, Data(600));
  a.peer->Feed("@\n");
  EXPECT_EQ(a.peer->sent(), "");
  EXPECT_TRUE(a.accept().ended());
}

TEST(AvatarSend, APutCommandWithSizeAndFirstChunkInOneRead) {
  Accepted a;
  const std::string data = Data(700);
  a.peer->Feed("putava,you," + kRef + "\n" + SenderStream(data, "000002BC").substr(0, 8 + 4 + 512));
  ASSERT_NE(a.accept().transfer(), nullptr);
  EXPECT_EQ(a.peer->TakeSent(), "@\n");
  a.peer->Feed(SenderStream(data, "000002BC").substr(8 + 4 + 512));
  EXPECT_EQ(a.peer->TakeSent(), "@\n");
  EXPECT_EQ(a.site.fake_files.Get(kFinal), data);
  EXPECT_FALSE(a.site.fake_files.Exists(kTemp));
  EXPECT_EQ(a.site.ui_.progress.back()->title, "Tellu Receiving");
  EXPECT_TRUE(a.accept().ended());
}

TEST(AvatarSend, APeerThatVanishesLeavesTheWindowUntilCancelled) {
  Accepted a;
  a.peer->Feed("putava,you," + kRef + "\n" "00000400" "0200" + Data(512));
  a.peer->Close();
  EXPECT_FALSE(a.accept().ended());
  EXPECT_TRUE(a.site.ui_.progress.back()->open);
  EXPECT_EQ(a.site.fake_files.Get(kTemp), Data(512));
  a.site.timers_.Advance(1000);
  EXPECT_EQ(a.site.ui_.progress.back()->shares.back().share, "  50.0 %");
  a.site.ui_.progress.back()->Cancel();
  EXPECT_TRUE(a.accept().ended());
  EXPECT_FALSE(a.site.fake_files.Exists(kTemp));
  EXPECT_FALSE(a.site.fake_files.Exists(kFinal));
}

TEST(AvatarAccept, AFileNameLeavingTheHostFolderIsRefused) {
  for (const std::string& name :
       {std::string("..\\x.mov"), std::string("avatar\\..\\..\\x.mov"), std::string("C:\\x.mov"),
        std::string("\\x.mov"), std::string("/x.mov"), std::string("avatar\\x.exe"),
        std::string("")}) {
    Accepted a;
    a.site.fake_files.Put("C:\\host\\x.mov", "secret");
    a.peer->Feed("getava,you," + name + "\n" "@\n");
    EXPECT_TRUE(a.accept().ended()) << name;
    EXPECT_EQ(a.accept().transfer(), nullptr);
    EXPECT_TRUE(a.peer->closed_by_program());
    EXPECT_EQ(a.peer->sent(), "");
    EXPECT_TRUE(a.site.ui_.progress.empty());
    // さんから不正なファイル要求が来ました
    EXPECT_EQ(a.site.system_lines,
              std::vector<std::string>{"you\x82\xB3\x82\xF1\x82\xA9\x82\xE7\x95\x73\x90\xB3\x82\xC8"
                                       "\x83\x74\x83\x40\x83\x43\x83\x8B\x97\x76\x8B\x81\x82\xAA"
                                       "\x97\x88\x82\xDC\x82\xB5\x82\xBD"});
  }
}

TEST(AvatarAccept, ControlBytesAreDroppedFromTheCommandLine) {
  Accepted a;
  a.site.fake_files.Put(kFinal, "abc");
  a.peer->Feed(std::string("get\x01" "ava,you,\r" + kRef + "\n"));
  EXPECT_EQ(a.peer->sent(), "00000003" "0003abc");
}

TEST(AvatarAccept, IdleConnectionsAreLetGo) {
  {
    Accepted a;  // a line that is no command
    a.peer->Feed("hello\n");
    EXPECT_TRUE(a.accept().ended());
    EXPECT_TRUE(a.peer->closed_by_program());
  }
  {
    Accepted a;  // a line without end
    a.peer->Feed(std::string(SCmdAccept::kMaxLine, 'x'));
    EXPECT_FALSE(a.accept().ended());
    a.peer->Feed("x");
    EXPECT_TRUE(a.accept().ended());
  }
  {
    Accepted a;  // silence
    a.site.timers_.Advance(SCmdAccept::kLineTimeoutMs - 1);
    EXPECT_FALSE(a.accept().ended());
    a.site.timers_.Advance(1);
    EXPECT_TRUE(a.accept().ended());
  }
  {
    Accepted a;  // the peer leaves first
    a.peer->Close();
    EXPECT_TRUE(a.site.IsReleased(&a.accept()));
  }
}

TEST(AvatarAccept, ATransferOutlivesTheCommandLineTimeout) {
  Accepted a;
  a.peer->Feed("putava,you," + kRef + "\n" "00000400");
  a.site.timers_.Advance(SCmdAccept::kLineTimeoutMs * 2);
  EXPECT_FALSE(a.accept().ended());
}

// ----- the connecting side pushing (SCmdAvaRcv, put) -----

TEST(AvatarPush, ThePutCommandThenTheSizeAndTheFirstChunk) {
  FakeSite site;
  const std::string data = Data(600);
  site.fake_files.Put(kFinal, data);
  SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kPut});
  FakeNet::Peer* peer = site.net_.LastConnect();
  EXPECT_EQ(peer->host(), "198.51.100.2");
  EXPECT_EQ(peer->port(), kPort);
  peer->Complete();
  peer->Feed("ok\n");
  EXPECT_EQ(peer->TakeSent(), "putava,me," + kRef + "\n" "00000258" "0200" + data.substr(0, 512));
  peer->Feed("@\n");
  EXPECT_EQ(peer->TakeSent(), "0058" + data.substr(512));
  peer->Feed("@\n");
  EXPECT_TRUE(t.ended());
  EXPECT_EQ(site.ui_.progress.back()->title, "Tellu Sending");
}

TEST(AvatarPush, AMissingFileEndsItBeforeConnecting) {
  FakeSite site;
  SCmdAvaRcv& t = site.Open({"bob", "198.51.100.2", kRef, TransferDirection::kPut});
  EXPECT_TRUE(t.ended());
  EXPECT_TRUE(site.net_.connects().empty());
}

}  // namespace
}  // namespace tellu::avatar_test
