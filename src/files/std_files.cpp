#include "files/std_files.h"

#include <fstream>
#include <system_error>

#include "text/sjis.h"
#include "text/sjis_char.h"

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

std::optional<std::string> PosixPath(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size();) {
    const text::SjisChar c = text::NextSjisChar(sjis, i);
    i += c.size;
    if (!c.mapped || c.code == 0) return std::nullopt;
    if (c.code == '\\')
      out += '/';
    else if (c.code < 0x80)
      out += static_cast<char>(c.code);
    else
      text::AppendUtf8(out, c.unicode);
  }
  return out;
}

std::string OnDrive(const std::string& posix, const std::string& drives) {
  const bool drive = posix.size() >= 2 && posix[1] == ':' &&
                     ((posix[0] >= 'A' && posix[0] <= 'Z') || (posix[0] >= 'a' && posix[0] <= 'z')) &&
                     (posix.size() == 2 || posix[2] == '/');
  if (!drive || drives.empty()) return posix;
  const char letter = static_cast<char>(posix[0] | 0x20);
  return drives + "/" + letter + ":" + (posix.size() == 2 ? "/" : posix.substr(2));
}

namespace {
std::string& DriveFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

void StdFiles::SetDriveFolder(std::string native_folder) {
  DriveFolder() = std::move(native_folder);
}

std::optional<std::string> StdFiles::PosixName(const std::string& path) {
  auto posix = PosixPath(path);
  if (posix) *posix = OnDrive(*posix, DriveFolder());
  return posix;
}

std::filesystem::path StdFiles::NativePath(const std::string& path) {
#ifdef _WIN32
  std::u16string wide = text::SjisToUtf16(path);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
  // A name without a UTF-8 form names no file at all, rather than a
  // different one: the empty path, which every operation refuses.
  return std::filesystem::path(PosixName(path).value_or(std::string()));
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
