// The dispatcher's cost per message, kind by kind and for a mix like a busy
// room's traffic, with the heap allocations each message costs.
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "chat/chat_core.h"
#include "chat_parts.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Counting replacement of the global allocation functions.  GCC cannot see
// that these new and delete belong together and warns about free().
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace tellu {
namespace {

class NullRelay : public RelayPort {
 public:
  void SendToServer(std::string_view p) override { benchmark::DoNotOptimize(p.data()); }
  void SendToHost(std::string_view p) override { benchmark::DoNotOptimize(p.data()); }
  bool HasServer() const override { return true; }
};

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

std::string Pos(int x, int y, int z, int dir) {
  std::string out;
  for (int v : {x, y, z, dir}) out += Bytes({(v >> 8) & 0xFF, v & 0xFF});
  return out;
}

std::string Str(std::string_view s) { return static_cast<char>(s.size()) + std::string(s); }

struct Message {
  Direction direction;
  std::string payload;
};

// A logged-in user in room 3 with four people around.  The log file is off:
// the benchmark measures the dispatcher, not the disk.
class Room : private ChatParts<NullRelay> {
 public:
  Room() {
    host_count = 1;
    core.DispAddBin(Direction::kFromHost, Bytes({1, 6, 3, 0, 0, 0, 0}) + Str("me"));
    core.DispAddBin(Direction::kFromHost, Bytes({1, 5, 0, 3}) + Pos(100, 200, 97, 80));
    for (int n = 2; n <= 5; ++n) {
      std::string name = "person" + std::to_string(n);
      core.DispAddBin(Direction::kFromServer, Bytes({0xFF, 0x0D}) + Str(name) + static_cast<char>(n));
    }
    host_count = 2;
  }
  Verdict Dispatch(const Message& m) { return core.DispAddBin(m.direction, m.payload); }
  LogStore& entries() { return log; }
};

const Message kObjectMove{Direction::kFromServer, Bytes({3, 1}) + Pos(150, 230, 97, 81)};
const Message kOwnMove{Direction::kFromHost, Bytes({1, 1}) + Pos(104, 200, 100, 90)};
const Message kBatch{Direction::kFromServer, Bytes({0xFE, 0x0C, 2, 0, 3}) + Pos(1, 2, 97, 0) +
                                      Bytes({3, 0, 3}) + Pos(3, 4, 97, 1) +
                                      Bytes({4, 0, 3}) + Pos(5, 6, 33, 0)};
const Message kChat{Direction::kFromServer, Bytes({1, 0x0E, 0}) + Str("person2") + Str("good evening all")};
const Message kPassThrough{Direction::kFromServer, Bytes({0x05, 0x07, 1, 2, 3, 4})};

// Ten messages as a room sends them: mostly movement, some talk.
const std::vector<Message>& Mix() {
  static const std::vector<Message> mix = {kObjectMove, kOwnMove, kObjectMove, kBatch,
                                           kObjectMove, kChat,    kOwnMove,    kObjectMove,
                                           kPassThrough, kObjectMove};
  return mix;
}

void Run(benchmark::State& state, const std::vector<Message>& messages) {
  Room room;
  long before = g_allocations.load();
  int64_t count = 0;
  for (auto _ : state) {
    for (const Message& m : messages) benchmark::DoNotOptimize(room.Dispatch(m));
    count += static_cast<int64_t>(messages.size());
    // Keep the store from trimming: trimming is part of a full store, not of a line.
    if (room.entries().size() > 1000) room.entries().TakePending();
  }
  state.SetItemsProcessed(count);
  state.counters["allocs/msg"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / count);
}

void BM_ObjectMove(benchmark::State& s) { Run(s, {kObjectMove}); }
void BM_OwnMove(benchmark::State& s) { Run(s, {kOwnMove}); }
void BM_PositionBatch(benchmark::State& s) { Run(s, {kBatch}); }
void BM_ChatLine(benchmark::State& s) { Run(s, {kChat}); }
void BM_PassThrough(benchmark::State& s) { Run(s, {kPassThrough}); }
void BM_Mix(benchmark::State& s) { Run(s, Mix()); }

BENCHMARK(BM_ObjectMove);
BENCHMARK(BM_OwnMove);
BENCHMARK(BM_PositionBatch);
BENCHMARK(BM_ChatLine);
BENCHMARK(BM_PassThrough);
BENCHMARK(BM_Mix);

}  // namespace
}  // namespace tellu
