// chatsim: a simulated chat server and host for Tellu's tests and demo.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "host.h"
#include "server.h"

namespace {

using tellu::chatsim::ChatServer;
using tellu::chatsim::HostOptions;
using tellu::chatsim::ServerOptions;

int Usage() {
  std::cerr << "usage: chatsim server --port N [--bots K] [--seed S] [--bot-interval MS] [--verbose]\n"
               "       chatsim host --ini FILE --section S --key K [--name NAME] [--port P]\n"
               "                    [--script FILE] [--avatar REF] [--room N]\n";
  return 2;
}

template <typename T>
bool Number(const char* text, T& out, long long low, long long high) {
  long long v = 0;
  const char* end = text + std::strlen(text);
  const auto [at, ec] = std::from_chars(text, end, v);
  if (ec != std::errc() || at != end || v < low || v > high) return false;
  out = static_cast<T>(v);
  return true;
}

int Server(int argc, char** argv) {
  ServerOptions o;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (a == "--verbose") {
      o.verbose = true;
      continue;
    }
    if (!v) return Usage();
    if (a == "--port") ok = Number(v, o.port, 0, 65535);
    else if (a == "--bots") ok = Number(v, o.bots, 0, 100);
    else if (a == "--seed") ok = Number(v, o.seed, 0, 4294967295LL);
    else if (a == "--bot-interval") ok = Number(v, o.bot_interval_ms, 1, 3600000);
    else ok = false;
    if (!ok) return Usage();
    ++i;
  }
  ChatServer server(o);
  std::string error;
  if (!server.Open(&error)) {
    std::cerr << "chatsim server: port " << o.port << ": " << error << '\n';
    return 1;
  }
  if (o.verbose) std::cerr << "chatsim: listening on port " << server.port() << '\n';
  server.Run();
  return 0;
}

int Host(int argc, char** argv) {
  HostOptions o;
  for (int i = 2; i < argc; i += 2) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Usage();
    const char* v = argv[i + 1];
    bool ok = true;
    if (a == "--ini") o.ini = v;
    else if (a == "--section") o.section = v;
    else if (a == "--key") o.key = v;
    else if (a == "--name") o.name = v;
    else if (a == "--script") o.script = v;
    else if (a == "--avatar") o.avatar = v;
    else if (a == "--port") ok = Number(v, o.port, 1, 65535);
    else if (a == "--room") ok = Number(v, o.room, 0, 255);
    else ok = false;
    if (!ok) return Usage();
  }
  if (o.ini.empty() || o.section.empty() || o.key.empty() || o.name.empty()) return Usage();
  return tellu::chatsim::RunHost(o);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "server") == 0) return Server(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "host") == 0) return Host(argc, argv);
  return Usage();
}
