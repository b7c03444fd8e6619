#include "avatar/request_list.h"

namespace tellu {

RequestList::~RequestList() {
  for (const Entry& e : entries_)
    if (e.timer != 0) timers_.Cancel(e.timer);
}

void RequestList::Add(const std::string& name, const std::string& reference, bool offer) {
  // Asking again starts the time again; so an entry is one of a kind, and
  // its timer finds it by what it holds.
  if (std::size_t i = Find(name, reference, offer); i != kNone) Remove(i);
  if (entries_.size() >= kMaxEntries) Remove(0);
  const Timers::Id timer = timers_.Start(kLifetimeMs, false, [this, name, reference, offer] {
    if (std::size_t i = Find(name, reference, offer); i != kNone) {
      entries_[i].timer = 0;
      Remove(i);
    }
  });
  entries_.push_back({name, reference, offer, timer});
}

std::size_t RequestList::Find(const std::string& name, const std::string& reference,
                              bool offer) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (e.offer == offer && e.name == name && e.reference == reference) return i;
  }
  return kNone;
}

void RequestList::Remove(std::size_t index) {
  if (entries_[index].timer != 0) timers_.Cancel(entries_[index].timer);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RequestList::Consume(const std::string& owner) {
  if (std::size_t i = Find(owner, {}, false); i != kNone) Remove(i);
}

}  // namespace tellu
