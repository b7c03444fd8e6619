#include "link.h"

#include "chat/kinds.h"

namespace tellu::fakehost {
namespace {

std::string Framed(const std::string& payload) {
  return std::string(1, static_cast<char>(payload.size() + 1)) + payload;
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

void PutCounted(std::string& out, const std::string& s) {
  out += static_cast<char>(s.size());
  out += s;
}

}  // namespace

std::string LoginPayload(const std::string& wire_name) {
  std::string out(kind::kLogin);
  PutCounted(out, "fakehost");
  out += '\x04';
  PutCounted(out, "1");
  out += '\x05';
  // A payload holds at most 254 bytes.
  PutCounted(out, wire_name.substr(0, 254 - out.size() - 1));
  return out;
}

void Link::Start(const std::string& host, int port, const std::string& wire_name, bool reads,
                 bool login) {
  recorder_.Line("connect " + host + ":" + std::to_string(port));
  stream_ = net_.Connect(host, port, [this, wire_name, reads, login](bool connected) {
    if (!connected) {
      recorder_.Line("connect failed");
      return;
    }
    recorder_.Line("connected");
    Stream::DataFn data;
    if (reads) data = [this](std::string_view bytes) { Received(bytes); };
    stream_->SetHandlers(std::move(data), [this] { recorder_.Line("closed"); });
    if (login) Send(LoginPayload(wire_name));
  });
}

void Link::Send(const std::string& payload) {
  if (!stream_ || !stream_->IsOpen()) return;
  stream_->Send(Framed(payload));
  recorder_.Line("T " + Hex(payload));
}

void Link::Received(std::string_view bytes) {
  // Length bytes 0 and 1 announce no payload and are skipped.
  for (unsigned char b : bytes) {
    if (remaining_ == 0) {
      remaining_ = b >= 2 ? b - 1u : 0;
      message_.clear();
      continue;
    }
    message_ += static_cast<char>(b);
    if (--remaining_ == 0) recorder_.Line("R " + Hex(message_));
  }
}

}  // namespace tellu::fakehost
