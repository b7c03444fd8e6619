#include "platform/std_files.h"

#include <fstream>
#include <system_error>

#include "text/sjis.h"

namespace tellu {
namespace {

class StdFile : public File {
 public:
  explicit StdFile(std::fstream stream) : stream_(std::move(stream)) {}
  size_t Read(char* buffer, size_t n) override {
    stream_.read(buffer, static_cast<std::streamsize>(n));
    return static_cast<size_t>(stream_.gcount());
  }
  bool Write(std::string_view bytes) override {
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(stream_);
  }
  bool Flush() override { return static_cast<bool>(stream_.flush()); }

 private:
  std::fstream stream_;
};

}  // namespace

std::filesystem::path StdFiles::NativePath(const std::string& path) {
#ifdef _WIN32
  std::u16string wide = text::SjisToUtf16(path);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return std::filesystem::path(p);
#endif
}

std::unique_ptr<File> StdFiles::Open(const std::string& path, OpenMode mode) {
  std::ios::openmode m = std::ios::binary;
  switch (mode) {
    case OpenMode::Read: m |= std::ios::in; break;
    case OpenMode::Write: m |= std::ios::out | std::ios::trunc; break;
    case OpenMode::Append: m |= std::ios::out | std::ios::app; break;
  }
  std::fstream stream(NativePath(path), m);
  if (!stream.is_open()) return nullptr;
  return std::make_unique<StdFile>(std::move(stream));
}

bool StdFiles::Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

std::optional<uint64_t> StdFiles::Size(const std::string& path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(NativePath(path), ec);
  if (ec) return std::nullopt;
  return size;
}

bool StdFiles::Copy(const std::string& from, const std::string& to, bool fail_if_exists) {
  std::error_code ec;
#if defined(_WIN32) && defined(__GLIBCXX__)
  // This library on Windows takes any two files for the same one (it has no
  // inode numbers) and so never overwrites: copy beside the target, then
  // move the copy over it.
  if (!fail_if_exists && std::filesystem::exists(NativePath(to), ec)) {
    auto beside = NativePath(to);
    beside += L".copying";
    std::filesystem::remove(beside, ec);
    const bool copied = std::filesystem::copy_file(NativePath(from), beside, ec) && !ec;
    if (copied) std::filesystem::rename(beside, NativePath(to), ec);
    if (!copied || ec) {
      std::error_code ignored;
      std::filesystem::remove(beside, ignored);
      return false;
    }
    return true;
  }
#endif
  auto options = fail_if_exists ? std::filesystem::copy_options::none
                                : std::filesystem::copy_options::overwrite_existing;
  return std::filesystem::copy_file(NativePath(from), NativePath(to), options, ec) && !ec;
}

bool StdFiles::Delete(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(NativePath(path), ec) && !ec;
}

}  // namespace tellu
