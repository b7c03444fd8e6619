// What this side of the avatar exchange asked for and offered, for the run:
// a peer's offer, push or fetch is taken only when it answers one of these
// within kLifetimeMs.  Anyone can reach the listening port and whisper, so
// nothing else may write or read the host's avatar files.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/timers.h"

namespace tellu {

// What a peer tried that answered nothing of this side's.
enum class Refusal {
  kOffer,  // an offer whisper from a name never asked
  kPush,   // a "putava," from a name never asked
  kFetch,  // a "getava," of a file never offered to that name
};

class RequestList {
 public:
  static constexpr int kLifetimeMs = 15 * 60 * 1000;
  // Each entry is one click of the user's: a few dozen cover any real use.
  static constexpr std::size_t kMaxEntries = 32;

  explicit RequestList(Timers& timers) : timers_(timers) {}
  ~RequestList();
  RequestList(const RequestList&) = delete;
  RequestList& operator=(const RequestList&) = delete;

  // This side whispered a request to owner.
  void Requested(const std::string& owner) { Add(owner, {}, false); }
  // This side whispered an offer of reference to requester.
  void Offered(const std::string& requester, const std::string& reference) {
    Add(requester, reference, true);
  }
  bool HasRequested(const std::string& owner) const { return Find(owner, {}, false) != kNone; }
  bool HasOffered(const std::string& requester, const std::string& reference) const {
    return Find(requester, reference, true) != kNone;
  }
  // A file from owner is in place: that request is answered.
  void Consume(const std::string& owner);

  std::size_t size() const { return entries_.size(); }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  struct Entry {
    std::string name, reference;
    bool offer = false;
    Timers::Id timer = 0;
  };
  void Add(const std::string& name, const std::string& reference, bool offer);
  std::size_t Find(const std::string& name, const std::string& reference, bool offer) const;
  void Remove(std::size_t index);

  Timers& timers_;
  std::vector<Entry> entries_;  // oldest first
};

// Told the name and the file reference of each refusal.
using RefusedFn = std::function<void(Refusal, const std::string& name, const std::string& reference)>;

}  // namespace tellu
