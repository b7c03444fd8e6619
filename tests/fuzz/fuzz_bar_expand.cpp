// Message-table expansion with any template and any field: no crash, and the
// output stays within what the template, the field and the alignment allow,
// and the field keeps no more than its own end, all of it when nothing is sent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bar/message_expand.h"
#include "bar/text_limit.h"

namespace {

size_t Count(std::string_view s, std::string_view what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + what.size()))
    ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // Template, a NUL, then the field; the field is what the bar can hold.
  const size_t split = input.find('\0');
  std::string_view message = input.substr(0, std::min(split, size_t{1024}));
  const std::string field =
      split == std::string_view::npos ? std::string() : tellu::CutToLimit(input.substr(split + 1));

  const tellu::Expansion e = tellu::ExpandMessage(message, field);

  const size_t body = message.size() + Count(message, "%s") * field.size();
  const size_t pieces = body / 2 + 1;
  const size_t longest = body + field.size();
  const size_t bound = body + pieces * field.size() + pieces * (longest + 2);
  if (e.text.size() > bound) std::abort();
  // The field afterwards is what the prefix left of it, or nothing once "%s" took it.
  const std::string_view after = e.field;
  if (after.size() > field.size() ||
      field.compare(field.size() - after.size(), after.size(), after) != 0)
    std::abort();
  // Nothing to send leaves the field whole; otherwise "%s" takes it.
  if (e.text.empty() && after != field) std::abort();
  if (!e.text.empty() && message.find("%s") != std::string_view::npos && !after.empty())
    std::abort();
  // Without a whisper prefix every "%s" is the field, which "%s" takes
  // away and a fixed text leaves; where that makes one line without an
  // alignment marker, it is the text sent.
  if (field.find(':', 1) == std::string::npos) {
    std::string expected;
    for (size_t at = 0; at < message.size(); ++at) {
      if (message.substr(at, 2) == "%s") {
        expected += field;
        ++at;
      } else {
        expected += message[at];
      }
    }
    if (expected.find("\r\n") == std::string::npos && expected.find("%|") == std::string::npos &&
        e.text != expected)
      std::abort();
    if (e.field != (message.find("%s") == std::string_view::npos || expected.empty() ? field : ""))
      std::abort();
  }
  return 0;
}
