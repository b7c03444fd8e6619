#include "wire.h"

#include "chat/kinds.h"
#include "frame.h"
#include "wire_text.h"

namespace tellu::chatsim {
namespace {

void PutCounted(std::string& out, std::string_view s) {
  out.push_back(static_cast<char>(s.size()));
  out.append(s);
}

void PutPos(std::string& out, const Pos& p) {
  for (int16_t v : {p.x, p.y, p.z, p.dir}) {
    const auto u = static_cast<uint16_t>(v);
    out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xFF));
  }
}

void PutOpaque(std::string& out, std::string_view opaque, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out.push_back(i < opaque.size() ? opaque[i] : '\0');
}

// A head plus counted fields; only the last may be cut (free text).
std::string Compose(std::string_view head, std::initializer_list<std::string_view> fields,
                    bool last_is_text) {
  std::string out(head);
  std::size_t i = 0;
  for (std::string_view f : fields) {
    const bool last = ++i == fields.size();
    if (last && last_is_text) {
      if (out.size() + 1 > kMaxPayload) return {};
      f = CutText(f, std::min<std::size_t>(kMaxPayload - out.size() - 1, 255));
    }
    if (f.size() > 255) return {};
    PutCounted(out, f);
  }
  return out.size() <= kMaxPayload ? out : std::string();
}

bool StartsWith(std::string_view s, std::string_view head) { return s.substr(0, head.size()) == head; }

}  // namespace

uint8_t Cursor::Byte() {
  if (at_ >= data_.size()) {
    ok_ = false;
    return 0;
  }
  return static_cast<uint8_t>(data_[at_++]);
}

std::string Cursor::Counted() {
  const std::size_t n = Byte();
  const std::size_t take = std::min(n, data_.size() - at_);
  if (take < n) ok_ = false;
  std::string s(data_.substr(at_, take));
  at_ += take;
  return s;
}

Pos Cursor::Position() {
  int16_t v[4];
  for (auto& x : v) {
    const unsigned hi = Byte();
    const unsigned lo = Byte();
    x = static_cast<int16_t>(static_cast<uint16_t>(hi << 8 | lo));
  }
  return {v[0], v[1], v[2], v[3]};
}

ClientMessage ParseFromClient(std::string_view p) {
  ClientMessage m;
  Cursor c(p);
  if (StartsWith(p, kind::kLogin)) {
    c = Cursor(p, kind::kLogin.size());
    c.Counted();
    c.Byte();
    c.Counted();
    c.Byte();
    m.name = c.Counted();
    m.kind = ClientKind::kLogin;
  } else if (StartsWith(p, kind::kOwnChatText)) {
    c = Cursor(p, kind::kOwnChatText.size());
    m.speaker = c.Counted();
    m.text = c.Counted();
    m.kind = ClientKind::kSay;
  } else if (StartsWith(p, kind::kOwnAvatar)) {
    c = Cursor(p, kind::kOwnAvatar.size());
    m.avatar = c.Counted();
    m.kind = ClientKind::kOwnAvatar;
  } else if (StartsWith(p, kind::kOwnRoomPosition)) {
    c = Cursor(p, kind::kOwnRoomPosition.size());
    m.room = c.Byte();
    m.opaque.push_back(static_cast<char>(c.Byte()));
    m.opaque.push_back(static_cast<char>(c.Byte()));
    m.pos = c.Position();
    m.kind = ClientKind::kRoomPosition;
  } else if (StartsWith(p, kind::kOwnRoomEntry)) {
    c = Cursor(p, kind::kOwnRoomEntry.size());
    m.room = c.Byte();
    m.pos = c.Position();
    m.kind = ClientKind::kRoomEntry;
  } else if (StartsWith(p, kind::kOwnMove)) {
    c = Cursor(p, kind::kOwnMove.size());
    m.pos = c.Position();
    m.kind = ClientKind::kMove;
  } else if (StartsWith(p, kind::kNamedOutgoing)) {
    c = Cursor(p, kind::kNamedOutgoing.size());
    m.name = c.Counted();
    std::string head;
    head.push_back(static_cast<char>(c.Byte()));
    head.push_back(static_cast<char>(c.Byte()));
    if (head == kind::kWhisperSent) {
      m.speaker = c.Counted();
      m.text = c.Counted();
      m.kind = ClientKind::kWhisper;
    } else if (head == kind::kAvatarRequest) {
      m.kind = ClientKind::kAvatarRequest;
    } else {
      return {};
    }
  }
  // A message whose fixed fields are cut short is not acted on; trailing
  // counted text may be cut and still counts.
  if (!c.Ok() && m.kind != ClientKind::kSay && m.kind != ClientKind::kWhisper &&
      m.kind != ClientKind::kLogin && m.kind != ClientKind::kOwnAvatar)
    return {};
  return m;
}

ServerMessage ParseFromServer(std::string_view p) {
  ServerMessage m;
  if (p.size() < 2) return m;
  const auto b0 = static_cast<uint8_t>(p[0]);
  Cursor c(p, 2);
  auto records = [&](std::size_t size, auto&& read) {
    for (std::size_t at = 2; at + size <= p.size(); at += size) {
      Cursor r(p, at);
      m.records.push_back(read(r));
    }
  };
  if (StartsWith(p, kind::kChatText) || StartsWith(p, kind::kWhisper)) {
    c = Cursor(p, kind::kChatText.size());
    m.name = c.Counted();
    m.text = c.Counted();
    m.kind = StartsWith(p, kind::kChatText) ? ServerKind::kChat : ServerKind::kWhisper;
  } else if (StartsWith(p, kind::kObjectNaming)) {
    m.name = c.Counted();
    m.number = c.Byte();
    if (c.Ok()) m.kind = ServerKind::kNaming;
  } else if (StartsWith(p, kind::kPositionBatch)) {
    records(11, [](Cursor& r) {
      Record rec;
      rec.number = r.Byte();
      r.Byte();
      rec.room = r.Byte();
      rec.pos = r.Position();
      return rec;
    });
    m.kind = ServerKind::kPositions;
  } else if (b0 >= 2 && b0 <= 11 && p[1] == kind::kObjectMove && p.size() >= 10) {
    m.number = b0;
    m.pos = c.Position();
    m.kind = ServerKind::kMove;
  } else if (StartsWith(p, kind::kEventBatch)) {
    records(4, [&](Cursor& r) {
      Record rec;
      rec.number = r.Byte();
      for (int i = 0; i < 3; ++i) rec.opaque.push_back(static_cast<char>(r.Byte()));
      return rec;
    });
    m.kind = ServerKind::kEvents;
  } else if (StartsWith(p, kind::kNamedObject)) {
    c = Cursor(p, kind::kNamedObject.size());
    m.name = c.Counted();
    std::string head;
    head.push_back(static_cast<char>(c.Byte()));
    head.push_back(static_cast<char>(c.Byte()));
    m.avatar = c.Counted();
    if (head == kind::kAvatarProperty && c.Ok()) m.kind = ServerKind::kAvatar;
  } else if (StartsWith(p, kind::kRoomPositionBatch)) {
    records(13, [](Cursor& r) {
      Record rec;
      rec.number = r.Byte();
      r.Byte();
      rec.room = r.Byte();
      rec.opaque.push_back(static_cast<char>(r.Byte()));
      rec.opaque.push_back(static_cast<char>(r.Byte()));
      rec.pos = r.Position();
      return rec;
    });
    m.kind = ServerKind::kRoomPositions;
  } else if (StartsWith(p, kind::kObjectRelease)) {
    for (std::size_t i = 2; i < p.size(); ++i) m.numbers.push_back(static_cast<uint8_t>(p[i]));
    m.kind = ServerKind::kRelease;
  }
  return m;
}

std::string BuildLogin(std::string_view first, std::string_view second, std::string_view name) {
  // The head's 03 is the first record's identifier; 04 and 05 are ours.
  if (first.size() + second.size() + name.size() + 8 > kMaxPayload) return {};
  std::string out(kind::kLogin);
  PutCounted(out, first);
  out.push_back('\x04');
  PutCounted(out, second);
  out.push_back('\x05');
  PutCounted(out, name);
  return out;
}

std::string BuildSay(std::string_view text) {
  return Compose(std::string(kind::kChatText) + '\0', {text}, true);  // no speaker
}

std::string BuildWhisper(std::string_view target, std::string_view sender, std::string_view text) {
  std::string head(kind::kNamedOutgoing);
  if (target.size() > 255) return {};
  PutCounted(head, target);
  head += kind::kWhisperSent;
  return Compose(head, {sender, text}, true);
}

std::string BuildOwnAvatar(std::string_view avatar) {
  return Compose(kind::kOwnAvatar, {avatar}, false);
}

std::string BuildAvatarRequest(std::string_view name) {
  std::string out = Compose(kind::kNamedOutgoing, {name}, false);
  if (out.empty() || out.size() + kind::kAvatarRequest.size() > kMaxPayload) return {};
  return out.append(kind::kAvatarRequest);
}

std::string BuildOwnRoomEntry(uint8_t room, const Pos& pos) {
  std::string out(kind::kOwnRoomEntry);
  out.push_back(static_cast<char>(room));
  PutPos(out, pos);
  return out;
}

std::string BuildOwnRoomPosition(uint8_t room, std::string_view opaque, const Pos& pos) {
  std::string out(kind::kOwnRoomPosition);
  out.push_back(static_cast<char>(room));
  PutOpaque(out, opaque, 2);
  PutPos(out, pos);
  return out;
}

std::string BuildOwnMove(const Pos& pos) {
  std::string out(kind::kOwnMove);
  PutPos(out, pos);
  return out;
}

std::string BuildChat(std::string_view speaker, std::string_view text) {
  return Compose(kind::kChatText, {speaker, text}, true);
}

std::string BuildWhisperIn(std::string_view speaker, std::string_view text) {
  return Compose(kind::kWhisper, {speaker, text}, true);
}

std::string BuildNaming(std::string_view name, uint8_t number) {
  std::string out = Compose(kind::kObjectNaming, {name}, false);
  if (out.empty() || out.size() >= kMaxPayload) return {};
  out.push_back(static_cast<char>(number));
  return out;
}

std::string BuildPositions(const std::vector<Record>& records) {
  std::string out(kind::kPositionBatch);
  for (const Record& r : records) {
    if (out.size() + 11 > kMaxPayload) break;
    out.push_back(static_cast<char>(r.number));
    out.push_back('\0');
    out.push_back(static_cast<char>(r.room));
    PutPos(out, r.pos);
  }
  return out;
}

std::string BuildMove(uint8_t number, const Pos& pos) {
  std::string out;
  out.push_back(static_cast<char>(number));
  out.push_back(kind::kObjectMove);
  PutPos(out, pos);
  return out;
}

std::string BuildNamedAvatar(std::string_view name, std::string_view avatar) {
  std::string head(kind::kNamedObject);
  if (name.size() > 255) return {};
  PutCounted(head, name);
  head += kind::kAvatarProperty;
  return Compose(head, {avatar}, false);
}

std::string BuildRoomPosition(const Record& r) {
  std::string out(kind::kRoomPositionBatch);
  out.push_back(static_cast<char>(r.number));
  out.push_back('\0');
  out.push_back(static_cast<char>(r.room));
  PutOpaque(out, r.opaque, 2);
  PutPos(out, r.pos);
  return out;
}

std::string BuildRelease(const std::vector<uint8_t>& numbers) {
  std::string out(kind::kObjectRelease);
  for (uint8_t n : numbers) {
    if (out.size() >= kMaxPayload) break;
    out.push_back(static_cast<char>(n));
  }
  return out;
}

}  // namespace tellu::chatsim
