// The chat fuzz targets' oracle: for each kind of message whose fate does
// not hang on the automatic reactions, the verdict, what must be sent on in
// its place (read here from the message's bytes, without the parser) and the
// names and rooms that must read back afterwards.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/chat_fuzz.h"
#include "text/sjis.h"

namespace tellu::fuzz::oracle {

using Sent = std::vector<std::string>;

inline std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }
// A received position as the host is shown it with no offsets: the same
// bytes, the facing turned into -179..180.
inline std::string Pos(std::string_view p, std::size_t at) {
  std::string pos(p.substr(std::min(at, p.size()), 8));
  pos.resize(8, '\0');
  int dir = static_cast<int16_t>(static_cast<uint8_t>(pos[6]) << 8 | static_cast<uint8_t>(pos[7]));
  dir = ((dir + 179) % 360 + 360) % 360 - 179;
  pos[6] = static_cast<char>((dir >> 8) & 0xFF);
  pos[7] = static_cast<char>(dir & 0xFF);
  return pos;
}
inline std::string Sjis(std::string_view wire) { return text::WireToSjis(wire); }
// A name as the program writes it again after reading it.
inline std::string Rewritten(std::string_view wire) {
  std::string again = text::SjisToWire(Sjis(wire)).substr(0, 255);
  return Byte(static_cast<int>(again.size())) + again;
}
inline Sent Framable(std::string payload) {
  if (payload.size() > kMaxPayload) return {};
  return {payload};
}
// Whether byte `at` of a rebuilt batch, move or room record is one that the
// view decides: a position (the last eight bytes of each record), and the
// room of object 1's room record, which shows a ghost's room.
inline bool IsViewByte(std::string_view payload, std::size_t at) {
  std::size_t record = 10, start = 2;
  if (payload.starts_with("\xFE\x0C")) {
    record = 11;
  } else if (payload.starts_with("\xFE\x12")) {
    if (at == 4 && payload[2] == 1) return true;
    record = 13;
  } else {
    start = 0;
  }
  return at >= start && (at - start) % record >= record - 8;
}
inline bool Other(int n) { return n >= 2 && n <= 11; }

struct Expected {
  bool known = false;
  tellu::Verdict result = tellu::Verdict::kPassOn;
  Sent to_host, to_server;
  // The own positions carry the offsets, the z mark and the status: their
  // heads and sizes are checked here, their values by the movement tests.
  std::string own_head;
  std::size_t own_size = 0;
  bool status_told = false;      // the server hears of a changed status, as the status tests check
  bool ghost_told = false;       // a shown ghost changes or goes: the movement tests check that
  bool shows_positions = false;  // the host is sent positions as seen from the virtual spot
};

inline Expected Passed() { return {true, tellu::Verdict::kPassOn, {}, {}, {}, 0}; }

// What the server's message must lead to; each record's bytes are read here.
// The positions shown to the host are those received while no offset or
// ghost moves the view.
inline Expected FromServer(std::string_view p, const ChatCore& core) {
  const ObjectTable& objects = core.objects();
  if (p.starts_with(std::string_view("\x01\x0E\x00", 3)) ||
      p.starts_with(std::string_view("\x01\x11\x00", 3)))
    return {};  // muting, repeats and replies decide
  if (p.starts_with("\xFF\x0D")) {
    std::size_t at = 2;
    const std::string_view name = Counted(p, at);
    const int n = At(p, at);
    if (n >= 1 && n <= 11) Require(objects.Get(n).name == Sjis(name));
    return {true, tellu::Verdict::kSwallow, Framable("\xFF\x0D" + Rewritten(name) + Byte(n)), {}, {}, 0};
  }
  if (p.starts_with("\xFE\x0C")) {
    std::string records[12];
    int rooms[12] = {};
    for (std::size_t at = 2; at < p.size(); at += 11) {
      const int n = At(p, at);
      if (!Other(n)) continue;
      rooms[n] = At(p, at + 2);
      records[n] = Byte(n) + Byte(0) + Byte(rooms[n]) + Pos(p, at + 3);
    }
    std::string batch = "\xFE\x0C";
    for (int n = 2; n <= 11; ++n) {
      if (records[n].empty()) continue;
      Require(objects.Get(n).room == rooms[n]);
      batch += records[n];
    }
    Expected v{true, tellu::Verdict::kSwallow, {batch}, {}, {}, 0};
    v.shows_positions = true;
    return v;
  }
  if (p.size() >= 2 && p[1] == '\x01' && p[0] != 0) {
    if (!Other(At(p, 0))) return Passed();
    Expected v{true, tellu::Verdict::kSwallow, {Byte(At(p, 0)) + "\x01" + Pos(p, 2)}, {}, {}, 0};
    v.shows_positions = true;
    return v;
  }
  if (p.starts_with("\xFE\x04")) {
    Expected v{true, tellu::Verdict::kSwallow, {}, {}, {}, 0};
    for (std::size_t at = 2; at < p.size(); at += 4) {
      std::string record(p.substr(at, 4));
      record.resize(4, '\0');
      if (Other(At(p, at))) v.to_host.push_back("\xFE\x04" + record);
    }
    return v;
  }
  if (p.starts_with(std::string_view("\x00", 1))) return {};  // the greeting decides what is said
  if (p.starts_with("\xFE\x12")) {
    Expected v{true, tellu::Verdict::kSwallow, {}, {}, {}, 0};
    v.shows_positions = true;
    int rooms[12];
    for (int& room : rooms) room = -1;
    for (std::size_t at = 2; at < p.size(); at += 13) {
      const int n = At(p, at);
      if (n < 1 || n > 11) continue;
      rooms[n] = At(p, at + 2);
      std::string opaque(p.substr(std::min(at + 3, p.size()), 2));
      opaque.resize(2, '\0');
      v.to_host.push_back("\xFE\x12" + Byte(n) + Byte(0) + Byte(At(p, at + 2)) + opaque +
                          Pos(p, at + 5));
    }
    for (int n = 1; n <= 11; ++n) Require(rooms[n] < 0 || objects.Get(n).room == rooms[n]);
    return v;
  }
  if (p.starts_with("\xFE\x0B"))
    for (std::size_t at = 2; at < p.size(); ++at)
      if (At(p, at) >= 1 && At(p, at) <= 11) Require(objects.Get(At(p, at)).name.empty());
  return Passed();
}

// What the host's message must lead to.
inline Expected FromHost(std::string_view p, bool login, fuzz::ChatWorld& w) {
  ChatCore& core = w.core;
  const ObjectTable& objects = core.objects();
  if (login && p.starts_with("\x01\x06\x03")) {
    std::size_t at = 3;
    Counted(p, at);
    at = std::min(at + 1, p.size());  // each property's byte after it
    Counted(p, at);
    at = std::min(at + 1, p.size());
    const std::string name = Sjis(Counted(p, at));
    Require(core.state().own_name == name && objects.Get(1).name == name);
    return Passed();
  }
  if (p.starts_with(std::string_view("\x01\x0E\x00", 3))) {
    Require(core.state().status != kAwayStatus);
    Expected v = Passed();
    v.status_told = true;
    return v;
  }
  if (p.starts_with("\x01\x03\x05")) {
    const std::string_view ref = p.substr(std::min<std::size_t>(4, p.size())).substr(0, 255);
    Expected v{true, tellu::Verdict::kSwallow, {}, Framable("\x01\x03\x05" + Byte(ref.size()) + std::string(ref))};
    v.ghost_told = core.movement().ghost().Shown();
    return v;
  }
  if (p.starts_with(std::string_view("\x00", 1))) {
    std::size_t at = 1;
    const std::string_view name = Counted(p, at);
    if (at >= p.size()) return Passed();
    const std::string_view head = p.substr(at, 2);
    if (head == std::string_view("\x11\x00", 2)) {
      at += 2;
      const std::string sender = Sjis(Counted(p, at));
      const LogEntry& last =
          w.log.pending().empty() ? w.log.shown().back() : w.log.pending().back();
      Require(last.prefix == "{" + sender + " -> " + Sjis(name) + "}");
    } else if (head == "\x0A\x05" && Sjis(name) == objects.Get(1).name) {
      const std::string_view ghost =
          std::string_view(core.movement().ghost().avatar).substr(0, 255);
      Expected v = Passed();
      v.result = tellu::Verdict::kSwallow;
      v.to_host = Framable(std::string(1, '\0') + Rewritten(name) + "\x03\x05" +
                           Byte(static_cast<int>(ghost.size())) + std::string(ghost));
      return v;
    }
    return Passed();
  }
  const int room = At(p, 3);
  if (p.starts_with(std::string_view("\x01\x12\x00", 3)) ||
      p.starts_with(std::string_view("\x01\x05\x00", 3)))
    Require(core.state().current_room == room && objects.Get(1).room == room);
  if (p.starts_with(std::string_view("\x01\x12\x00", 3)))
    return {true, tellu::Verdict::kSwallow, {}, {}, std::string(p.substr(0, 3)) + Byte(room) + "\x02\x02", 14};
  if (p.starts_with(std::string_view("\x01\x05\x00", 3))) {
    for (int n = 2; n <= 11; ++n) Require(objects.Get(n).name.empty());
    return {true, tellu::Verdict::kSwallow, {}, {}, std::string(p.substr(0, 3)) + Byte(room), 12};
  }
  if (p.starts_with("\x01\x01")) return {true, tellu::Verdict::kSwallow, {}, {}, "\x01\x01", 10};
  return Passed();
}

// Hands the payload to the dispatcher and checks the outcome; `login`: the
// relay's count makes this host message the login.
inline tellu::Verdict Dispatch(ChatWorld& w, tellu::Direction direction, std::string_view payload, bool login) {
  const bool ghost_before = w.core.movement().ghost().Shown();
  w.relay.to_host.clear();
  w.relay.to_server.clear();
  const tellu::Verdict result = w.core.DispAddBin(direction, payload);
  Require(result == tellu::Verdict::kPassOn || result == tellu::Verdict::kSwallow);
  Expected v = direction == tellu::Direction::kFromServer ? FromServer(payload, w.core) : FromHost(payload, login, w);
  // Entering a room takes a shown ghost away, which the host is told.
  if (direction == tellu::Direction::kFromHost && v.own_size != 0 && !payload.starts_with("\x01\x01"))
    v.ghost_told = v.ghost_told || ghost_before;
  if (!v.known) return result;
  Require(result == v.result);
  const Movement& m = w.core.movement();
  const bool moved =
      m.ghost().Shown() || m.offsets().dx || m.offsets().dy || m.offsets().dz || m.offsets().da;
  if (v.shows_positions && moved) {
    // What offsets and a ghost make of a position is for the movement tests;
    // each record's other bytes are still the message's.
    Require(w.relay.to_host.size() == v.to_host.size());
    for (std::size_t i = 0; i < v.to_host.size(); ++i) {
      const std::string& sent = w.relay.to_host[i];
      Require(sent.size() == v.to_host[i].size());
      for (std::size_t at = 0; at < sent.size(); ++at)
        if (!IsViewByte(v.to_host[i], at)) Require(sent[at] == v.to_host[i][at]);
    }
  } else if (!v.ghost_told) {
    Require(w.relay.to_host == v.to_host);
  }
  if (v.own_size != 0) {
    // A frozen ghost's removal tells the server the own move first.
    Require(w.relay.to_server.size() == 1 || (v.ghost_told && w.relay.to_server.size() == 2));
    Require(w.relay.to_server.back().starts_with(v.own_head));
    Require(w.relay.to_server.back().size() == v.own_size);
  } else if (!v.status_told) {
    Require(w.relay.to_server == v.to_server);
  }
  return result;
}

}  // namespace tellu::fuzz::oracle
