#include "platform/files.h"

namespace tellu {

bool Files::ReadAll(const std::string& path, std::string& out) {
  out.clear();
  auto f = Open(path, OpenMode::Read);
  if (!f) return false;
  char buffer[4096];
  for (;;) {
    size_t n = f->Read(buffer, sizeof buffer);
    if (n == 0) break;
    out.append(buffer, n);
  }
  return true;
}

bool Files::WriteAll(const std::string& path, std::string_view bytes) {
  auto f = Open(path, OpenMode::Write);
  return f && f->Write(bytes) && f->Flush();
}

}  // namespace tellu
