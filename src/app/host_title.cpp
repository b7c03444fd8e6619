#include "app/host_title.h"

#include <optional>

#include "app/config.h"
#include "app/host_dir.h"
#include "text/paths.h"

namespace tellu {
namespace {

constexpr size_t kTitleFileBytes = 128;

std::optional<std::string> ReadHead(Files& files, const std::string& path) {
  auto file = files.Open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  std::string head(kTitleFileBytes, '\0');
  size_t got = 0;
  while (got < head.size()) {
    size_t n = file->Read(head.data() + got, head.size() - got);
    if (n == 0) break;
    got += n;
  }
  head.resize(got);
  return head;
}

}  // namespace

HostTitle BuildHostTitle(std::string_view title_template, const std::string& host_dir,
                         Files& files) {
  HostTitle title;
  if (title_template.empty()) return title;
  title.usable = true;
  for (size_t start = 0; start <= title_template.size();) {
    size_t plus = title_template.find('+', start);
    if (plus == std::string_view::npos) plus = title_template.size();
    std::string_view piece = title_template.substr(start, plus - start);
    start = plus + 1;
    if (piece.empty() || piece[0] != '@') {
      title.text += piece;
      continue;
    }
    title.usable = false;
    if (host_dir.empty()) continue;
    std::optional<std::string> head = ReadHead(files, host_dir + std::string(piece.substr(1)));
    if (!head) {
      // The rest of the template would make a caption that is not the
      // host's: the whole title is dropped.
      title.text.clear();
      return title;
    }
    title.text += *head;
    title.usable = true;
  }
  return title;
}

HostTitle HostTitleOfSlot(Profile& tellu_ini, Files& files, Registry& registry,
                          const std::string& windows_dir, int slot) {
  std::string title_template = TitleTemplate(tellu_ini, slot);
  if (title_template.empty()) return {};
  std::string dir = HostProgramDir(tellu_ini, files, registry, windows_dir, SlotName(slot));
  return BuildHostTitle(title_template, WithTrailingBackslash(dir), files);
}

}  // namespace tellu
