// The byte protocol of an avatar transfer, shared by both sides: the greeting,
// the size and the acknowledged chunks of at most 512 bytes, the temporary
// file and its copy over the final one.  The connection is the subclass's.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "avatar/transfer_order.h"
#include "avatar/progress.h"
#include "platform/files.h"
#include "platform/net.h"
#include "platform/timers.h"
#include "platform/ui.h"
#include "relay/peer_object.h"
#include "relay/protocol.h"

namespace tellu {

// The peer's lines: the command line ("getava," or "putava,", the asking
// side's name, "," and the file reference), then one acknowledgement line
// for each chunk received.
inline constexpr std::string_view kGetCommand = "getava,";
inline constexpr std::string_view kPutCommand = "putava,";
inline constexpr char kCommandFieldSeparator = ',';
inline constexpr std::string_view kAck = "@";

// What the exchange's connections need from the program that keeps them.
class TransferSite {
 public:
  virtual ~TransferSite() = default;
  virtual Net& net() = 0;
  virtual Files& files() = 0;
  virtual Timers& timers() = 0;
  virtual Ui& ui() = 0;
  virtual const std::string& ProgramDir() = 0;
  virtual std::string OwnName() = 0;
  // The port outgoing transfers connect to: the chat server's.
  virtual int ServerPort() = 0;
  virtual void SystemLine(const std::string& text) = 0;
  // A received file is in place: the host reloads the avatars using it.
  virtual void AvatarRefresh(const std::string& final_path) = 0;
  // Whether a peer's command answers this side's request (the peer pushes,
  // this side gets) or offer (the peer fetches, this side puts); a refusal
  // is reported by the site.
  virtual bool Admits(TransferDirection this_side, const std::string& peer,
                      const std::string& reference) = 0;
  // A file from peer was received whole and put in place.
  virtual void Received(const std::string& peer) = 0;
  // The temporary paths of the live transfers, so that none is shared.
  virtual std::set<std::string>& TempPaths() = 0;
  // The object has ended; the site destroys it once the current event is over.
  virtual void Release(PeerObject* object) = 0;
};

// The final path cut before the first "." of its file name, plus ".tmp".
std::string TemporaryPath(std::string_view final_path);

class Transfer : public PeerObject {
 public:
  static constexpr uint32_t kChunk = 512;
  // The largest file received.  Avatar files are tens of kilobytes: a peer
  // announcing more is not sending an avatar.
  static constexpr uint32_t kMaxSize = 64u * 1024 * 1024;
  // Protocol states.
  static constexpr int kGreeting = 0;
  static constexpr int kSizeDigits = 1;
  static constexpr int kChunkDigits = 2;
  static constexpr int kChunkData = 3;
  static constexpr int kAwaitingAck = 10;

  ~Transfer() override;
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Bytes go to the state machine one at a time until it ends.
  void OnReceive(std::string_view bytes) override;
  // Ends the transfer: window, connection and file closed, a temporary file
  // that was not completed removed, the final file untouched; then the
  // `ended` callback, which must not destroy the object.  Later calls do
  // nothing.
  void Close();

  bool ended() const { return ended_; }
  int state() const { return state_; }
  uint32_t total() const { return total_; }
  uint64_t done() const { return done_; }
  const std::string& final_path() const { return final_path_; }
  const std::string& temp_path() const { return temp_path_; }

 protected:
  using EndedFn = std::function<void(Transfer&)>;
  Transfer(TransferSite& site, std::string peer, std::string file, TransferDirection direction,
           EndedFn ended);

  // Set-up steps.  The texts and the final path first; the others are false
  // on failure, after which the caller closes.
  void SetUp();
  bool OpenForSending();
  bool CreateTemporary();
  void StartProgress() { progress_.StartTimer(); }
  // State 10: the size, then the first chunk (none for a file of 0 bytes).
  void StartSending();
  // An empty file has been announced and nothing more is due from this side.
  bool SentEmptyFile() const { return state_ == kAwaitingAck && total_ == 0; }

  virtual void Send(std::string_view bytes) = 0;
  virtual void CloseConnection() = 0;

  TransferSite& site_;
  const std::string peer_;
  const std::string reference_;
  const TransferDirection direction_;
  int state_ = kGreeting;
  uint32_t count_ = 0;      // digits to read, or the current chunk's length
  uint32_t remaining_ = 0;  // digits, data or line bytes still allowed
  std::size_t cursor_ = 0;
  uint32_t total_ = 0;
  uint64_t done_ = 0;

 private:
  void Step(uint8_t b);
  void Greeting(uint8_t b);
  void SizeDigit(uint8_t b);
  void ChunkDigit(uint8_t b);
  void ChunkData(uint8_t b);
  void Acknowledgement(uint8_t b);
  void SendChunk();
  void Finish();
  void Progress();
  void DropFile();

  ProgressWindow progress_;
  EndedFn ended_fn_;
  std::array<char, kChunk> buffer_{};
  std::string final_path_;
  std::string temp_path_;
  std::unique_ptr<File> file_;
  bool temp_reserved_ = false;
  bool temp_created_ = false;
  bool finished_ = false;
  bool write_failed_ = false;  // the file is not used, the peer not told
  bool ended_ = false;
};

}  // namespace tellu
