// The chat protocol's payloads as chatsim speaks them: bounded field reading,
// a parser for each direction, and builders for every message it sends.
// Text stays wire text (UTF-8); names compare byte for byte.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellu::chatsim {

struct Pos {
  int16_t x = 0, y = 0, z = 0, dir = 0;
  bool operator==(const Pos&) const = default;
};

// Reads front to back and never past the end: a counted field cut short gives
// the bytes present, a missing byte reads as 0, and Ok() turns false.
class Cursor {
 public:
  explicit Cursor(std::string_view payload, std::size_t offset = 0)
      : data_(payload), at_(offset < payload.size() ? offset : payload.size()) {}
  uint8_t Byte();
  std::string Counted();
  Pos Position();
  bool AtEnd() const { return at_ >= data_.size(); }
  bool Ok() const { return ok_; }

 private:
  std::string_view data_;
  std::size_t at_;
  bool ok_ = true;
};

// What a client (the host) sends.
enum class ClientKind {
  kOther, kLogin, kSay, kOwnAvatar, kWhisper, kAvatarRequest, kRoomPosition, kRoomEntry, kMove,
};
struct ClientMessage {
  ClientKind kind = ClientKind::kOther;
  std::string name;     // login name, whisper or request target
  std::string speaker;  // say: speaker field; whisper: sender field
  std::string text;
  std::string avatar;   // raw reference
  uint8_t room = 0;
  std::string opaque;   // room position: its two bytes
  Pos pos;
};
ClientMessage ParseFromClient(std::string_view payload);

// What the server sends.
struct Record {
  uint8_t number = 0;
  uint8_t room = 0;
  std::string opaque;  // room position records: two bytes; events: three
  Pos pos;
};
enum class ServerKind {
  kOther, kChat, kWhisper, kNaming, kPositions, kMove, kEvents, kAvatar, kRoomPositions, kRelease,
};
struct ServerMessage {
  ServerKind kind = ServerKind::kOther;
  std::string name;  // speaker or object name
  std::string text;
  std::string avatar;
  uint8_t number = 0;
  Pos pos;
  std::vector<Record> records;
  std::vector<uint8_t> numbers;  // released objects
};
ServerMessage ParseFromServer(std::string_view payload);

// Builders.  Each returns a payload of at most kMaxPayload bytes.  A trailing
// free text is cut at a character boundary to fit; a message that cannot fit
// otherwise (names or avatar references too long) comes back empty, and an
// empty payload is never sent.

// Client to server.
std::string BuildLogin(std::string_view first, std::string_view second, std::string_view name);
std::string BuildSay(std::string_view text);
std::string BuildWhisper(std::string_view target, std::string_view sender, std::string_view text);
std::string BuildOwnAvatar(std::string_view avatar);
std::string BuildAvatarRequest(std::string_view name);
std::string BuildOwnRoomEntry(uint8_t room, const Pos& pos);
std::string BuildOwnRoomPosition(uint8_t room, std::string_view opaque, const Pos& pos);
std::string BuildOwnMove(const Pos& pos);

// Server to client.
std::string BuildChat(std::string_view speaker, std::string_view text);
std::string BuildWhisperIn(std::string_view speaker, std::string_view text);
std::string BuildNaming(std::string_view name, uint8_t number);
std::string BuildPositions(const std::vector<Record>& records);
std::string BuildMove(uint8_t number, const Pos& pos);
std::string BuildNamedAvatar(std::string_view name, std::string_view avatar);
std::string BuildRoomPosition(const Record& record);
std::string BuildRelease(const std::vector<uint8_t>& numbers);

}  // namespace tellu::chatsim
