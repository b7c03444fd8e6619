// Chat text as terminal lines and Shift-JIS names as POSIX file names: no
// control byte of the input reaches the terminal, none a file name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/entry_line.h"
#include "files/std_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string plain = tellu::EntryLine("<a> ", text, size % 2 == 1, false);
  // Printable ASCII comes out as it went in, after the prefix.
  bool printable = true;
  for (char c : text) printable = printable && c >= 0x20 && c < 0x7F;
  if (printable && plain != "<a> " + std::string(text)) std::abort();
  for (char c : plain) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) std::abort();
  }
  // With colours the only escapes are the program's own: every ESC starts
  // a colour ("[") or a link ("]8;;" or the "\" that ends one).
  const std::string coloured = tellu::EntryLine("<a> ", text, size % 2 == 1, true);
  for (size_t i = 0; i < coloured.size(); ++i) {
    const auto b = static_cast<unsigned char>(coloured[i]);
    if (b == 0x07 || b == 0x7F) std::abort();
    if (b == 0x1B) {
      const std::string_view rest = std::string_view(coloured).substr(i + 1);
      if (!rest.starts_with("[") && !rest.starts_with("]8;;") && !rest.starts_with("\\"))
        std::abort();
    }
  }
  if (const auto posix = tellu::PosixPath(text))
    if (posix->find('\0') != std::string::npos) std::abort();
  return 0;
}
