// Transfer progress texts carry a peer's name and file reference: whatever
// they hold, each printed line is one line without control characters, and
// the progress row stays one row within its width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/progress_row.h"

namespace {

void CheckLine(std::string_view text, bool row) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const bool line_end = !row && b == '\n' && i + 1 == text.size();
    if ((b < 0x20 && b != '\t' && !line_end) || b == 0x7F) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // Fields separated by 0xFF: what each view is told, in turn.
  std::vector<std::string> fields;
  for (size_t at; (at = input.find('\xFF')) != std::string_view::npos;) {
    fields.emplace_back(input.substr(0, at));
    input.remove_prefix(at + 1);
  }
  fields.emplace_back(input);

  for (bool live : {false, true}) {
    tellu::ProgressRow row(live, [](std::string_view line) { CheckLine(line, false); });
    std::vector<std::unique_ptr<tellu::ProgressView>> views;
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
      const std::string& a = fields[i];
      const std::string& b = fields[i + 1];
      const int action = a.empty() ? 0 : static_cast<unsigned char>(a[0]) % 4;
      if (action == 0 || views.empty()) views.push_back(row.Open());
      tellu::ProgressView& view = *views[static_cast<unsigned char>(b.empty() ? 0 : b[0]) %
                                         views.size()];
      if (action == 1) view.SetTexts(a, b);
      if (action == 2) view.SetShare(a, static_cast<int>(b.size()) - 20, b);
      if (action == 3) view.Close();
      const std::string text = row.Text();
      CheckLine(text, true);
      if (tellu::Columns(text) > tellu::ProgressRow::kColumns) std::abort();
    }
  }
  return 0;
}
