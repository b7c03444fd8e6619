#include "log/log_store.h"

namespace tellu {
namespace {

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

}  // namespace

bool IsWhisperEntry(const LogEntry& entry) {
  return !entry.prefix.empty() && entry.prefix[0] == '{';
}

std::string ReplaceLogEntities(std::string text) {
  ReplaceAll(text, "&lt;", "<");
  ReplaceAll(text, "&gt;", ">");
  return text;
}

const LogEntry& LogStore::Append(const std::string& prefix, const std::string& text) {
  pending_.push_back({prefix, ReplaceLogEntities(text)});
  size_t n = size();
  for (; n > kCapacity; --n) {
    if (!shown_.empty())
      shown_.pop_front();
    else
      pending_.pop_front();
  }
  fill_ = n >= kCapacity ? 100 : static_cast<int>(n * 100 / kCapacity);
  return pending_.back();
}

void LogStore::TakePending() {
  for (auto& entry : pending_) shown_.push_back(std::move(entry));
  pending_.clear();
}

}  // namespace tellu
