#include "platform/fake_files.h"

namespace tellu {
namespace {

class FakeFile : public File {
 public:
  FakeFile(std::string& data, bool append, int& flushes)
      : data_(data), pos_(append ? data.size() : 0), flushes_(flushes) {}
  size_t Read(char* buffer, size_t n) override {
    if (pos_ >= data_.size()) return 0;
    size_t k = std::min(n, data_.size() - pos_);
    data_.copy(buffer, k, pos_);
    pos_ += k;
    return k;
  }
  bool Write(std::string_view bytes) override {
    if (pos_ > data_.size()) pos_ = data_.size();
    data_.replace(pos_, std::min(bytes.size(), data_.size() - pos_), bytes);
    pos_ += bytes.size();
    return true;
  }
  bool Flush() override {
    ++flushes_;
    return true;
  }

 private:
  std::string& data_;  // std::map nodes are stable while the file lives
  size_t pos_;
  int& flushes_;
};

}  // namespace

std::unique_ptr<File> FakeFiles::Open(const std::string& path, OpenMode mode) {
  if (unopenable.count(path)) return nullptr;
  auto it = files_.find(path);
  if (mode == OpenMode::Read && it == files_.end()) return nullptr;
  std::string& data = files_[path];
  if (mode == OpenMode::Write) data.clear();
  return std::make_unique<FakeFile>(data, mode == OpenMode::Append, flushes);
}

std::optional<uint64_t> FakeFiles::Size(const std::string& path) {
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second.size();
}

bool FakeFiles::Copy(const std::string& from, const std::string& to, bool fail_if_exists) {
  auto it = files_.find(from);
  if (it == files_.end()) return false;
  if (fail_if_exists && files_.count(to)) return false;
  std::string copy = it->second;
  files_[to] = std::move(copy);
  return true;
}

}  // namespace tellu
