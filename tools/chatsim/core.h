// The chat server's routing without sockets: who is logged in, in which room,
// which object number each person has in each other person's view, and what
// each client is sent.  ChatServer feeds it payloads and drains its output.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "wire.h"

namespace tellu::chatsim {

// The room everyone is in after the login, until a room entry says otherwise.
inline constexpr uint8_t kLobby = 1;

class ServerCore {
 public:
  using Log = std::function<void(const std::string&)>;
  explicit ServerCore(Log log = {}) : log_(std::move(log)) {}

  // A new connection; returns its id.
  int Connect();
  // A complete payload from connection id.  False when the connection is to
  // be dropped: its first message was not a login with a name.
  bool Receive(int id, std::string_view payload);
  void Disconnect(int id);
  // Framed bytes waiting for connection id; nullptr for an unknown id.
  std::string* Output(int id);

  // Bots are people without a connection; they are logged in at once.
  int AddBot(std::string_view name, const Pos& pos, std::string_view avatar);
  void Say(int id, std::string_view speaker, std::string_view text);
  void Whisper(int id, std::string_view target, std::string_view sender, std::string_view text);
  void Move(int id, const Pos& pos);
  void EnterRoom(int id, uint8_t room, const Pos& pos);
  void SetAvatar(int id, std::string_view avatar);

  // Names of the logged-in clients (not bots), in order of arrival.
  std::vector<std::string> ClientNames() const;
  const Pos* PositionOf(int id) const;

 private:
  struct Person {
    bool bot = false;
    bool logged_in = false;
    std::string name;
    std::string avatar;
    uint8_t room = kLobby;
    Pos pos;
    std::array<int, 12> view{};  // object number -> person id, 0 = free
    std::string out;
  };

  Person* Find(int id);
  void Send(Person& to, std::string_view payload);
  void SyncAll(int moved, bool refresh_moved);
  void SyncView(int viewer_id, Person& viewer, bool refresh, int moved);
  void RoomPosition(int id, uint8_t room, std::string_view opaque, const Pos& pos);
  void AnswerAvatarRequest(Person& asker, std::string_view name);
  void Note(const std::string& what);

  Log log_;
  int next_id_ = 1;
  std::map<int, Person> people_;  // ids grow, so this is the order of arrival
};

}  // namespace tellu::chatsim
