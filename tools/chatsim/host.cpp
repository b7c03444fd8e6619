#include "host.h"

#include <algorithm>
#include <charconv>

#include "wire_text.h"

namespace tellu::chatsim {
namespace {

std::string At(const Pos& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

std::string_view FirstWord(std::string_view& rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const std::size_t end = std::min(rest.find(' '), rest.size());
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return word;
}

bool ToInt(std::string_view s, int& out) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

int16_t Clamp16(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

}  // namespace

HostSession::HostSession(std::string_view name, std::string_view avatar, uint8_t room)
    : name_(Utf8ToWire(name)), avatar_(avatar), room_(room) {}

std::vector<std::string> HostSession::Greeting() {
  std::vector<std::string> out{BuildLogin("chatsim", "", name_), BuildOwnAvatar(avatar_),
                               BuildOwnRoomEntry(room_, pos_)};
  for (int i = 0; i < 3; ++i) {
    pos_.x = Clamp16(pos_.x + 16);
    pos_.dir = Clamp16(pos_.dir + 16);
    out.push_back(BuildOwnMove(pos_));
  }
  return out;
}

std::string HostSession::Label(uint8_t number) const {
  if (number < known_.size() && !known_[number].empty()) return known_[number];
  return "#" + std::to_string(number);
}

std::vector<std::string> HostSession::Show(std::string_view payload) {
  const ServerMessage m = ParseFromServer(payload);
  std::vector<std::string> lines;
  const bool in_range = m.number >= 2 && m.number <= 11;
  switch (m.kind) {
    case ServerKind::kChat:
      lines.push_back("<" + WireToDisplay(m.name) + "> " + WireToDisplay(m.text));
      break;
    case ServerKind::kWhisper:
      lines.push_back("{" + WireToDisplay(m.name) + " -> " + WireToDisplay(name_) + "} " +
                      WireToDisplay(m.text));
      break;
    case ServerKind::kNaming:
      if (!in_range) break;
      if (known_[m.number] != WireToDisplay(m.name)) {
        known_[m.number] = WireToDisplay(m.name);
        lines.push_back("* " + known_[m.number] + " arrives");
      }
      break;
    case ServerKind::kPositions:
      for (const Record& r : m.records)
        lines.push_back("~ " + Label(r.number) + " at " + At(r.pos) + " in room " +
                        std::to_string(r.room));
      break;
    case ServerKind::kMove:
      lines.push_back("~ " + Label(m.number) + " to " + At(m.pos));
      break;
    case ServerKind::kEvents:
      for (const Record& r : m.records) lines.push_back("~ " + Label(r.number) + " acts");
      break;
    case ServerKind::kAvatar:
      lines.push_back("* " + WireToDisplay(m.name) + " wears " + WireToDisplay(m.avatar));
      break;
    case ServerKind::kRoomPositions:
      for (const Record& r : m.records)
        lines.push_back("~ " + Label(r.number) + " at " + At(r.pos) + " in room " +
                        std::to_string(r.room));
      break;
    case ServerKind::kRelease:
      for (uint8_t n : m.numbers) {
        if (n >= known_.size() || known_[n].empty()) continue;
        lines.push_back("* " + known_[n] + " leaves");
        known_[n].clear();
      }
      break;
    case ServerKind::kOther:
      break;
  }
  return lines;
}

HostSession::Reply HostSession::Typed(std::string_view line) {
  Reply r;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.empty()) return r;
  if (line.front() != '/') {
    r.payloads.push_back(BuildSay(Utf8ToWire(line)));
    return r;
  }
  std::string_view rest = line;
  const std::string_view command = FirstWord(rest);
  int a = 0, b = 0;
  if (command == "/quit") {
    r.quit = true;
  } else if (command == "/w") {
    const std::string target = Utf8ToWire(FirstWord(rest));
    if (target.empty()) {
      r.lines.push_back("? usage: /w NAME TEXT");
    } else {
      const std::string text = Utf8ToWire(rest);
      r.payloads.push_back(BuildWhisper(target, name_, text));
      r.lines.push_back("{" + WireToDisplay(name_) + " -> " + WireToDisplay(target) + "} " +
                        WireToDisplay(text));
    }
  } else if (command == "/move" && ToInt(FirstWord(rest), a) && ToInt(FirstWord(rest), b)) {
    pos_.x = Clamp16(pos_.x + a);
    pos_.y = Clamp16(pos_.y + b);
    r.payloads.push_back(BuildOwnMove(pos_));
  } else if (command == "/avatar" && !rest.empty()) {
    avatar_ = rest;
    r.payloads.push_back(BuildOwnAvatar(avatar_));
  } else if (command == "/room" && ToInt(FirstWord(rest), a) && a >= 0 && a <= 255) {
    room_ = static_cast<uint8_t>(a);
    known_ = {};
    r.payloads.push_back(BuildOwnRoomEntry(room_, pos_));
  } else if (command == "/request" && !rest.empty()) {
    r.payloads.push_back(BuildAvatarRequest(Utf8ToWire(rest)));
  } else {
    r.lines.push_back("? unknown command: " + WireToDisplay(Utf8ToWire(line)));
  }
  // A builder that could not fit its message gives an empty payload.
  std::erase_if(r.payloads, [](const std::string& p) { return p.empty(); });
  return r;
}

}  // namespace tellu::chatsim
