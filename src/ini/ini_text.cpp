#include "ini/ini_text.h"

#include <algorithm>

#include "ini/ini_chars.h"
#include "text/sjis.h"

namespace tellu::ini {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A last byte that would pair with whatever is written after it.
bool EndsInLeadByte(std::string_view s) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) last = i;
  return last != std::string_view::npos && last + 1 == s.size() &&
         text::IsLeadByte(static_cast<uint8_t>(s[last]));
}

// A name asked for is a C string, trimmed; a name in the file is trimmed,
// then read as a C string.
std::string_view AskedName(std::string_view s) { return Trim(CutAtNul(s)); }
std::string_view FileName(std::string_view s) { return CutAtNul(Trim(s)); }

}  // namespace

IniText::IniText(std::string_view bytes) : bytes_(bytes) { Split(); }

void IniText::Split() {
  size_t pos = bytes_.substr(0, 3) == kUtf8Mark ? 3 : 0;
  while (pos < bytes_.size()) {
    // A carriage return, a line feed or the pair ends a line.
    Line line;
    line.begin = pos;
    line.end = std::min(bytes_.find_first_of("\r\n", pos), bytes_.size());
    line.next = line.end;
    if (line.next < bytes_.size() && bytes_[line.next++] == '\r' && line.next < bytes_.size() &&
        bytes_[line.next] == '\n')
      ++line.next;
    Classify(line);
    lines_.push_back(line);
    pos = line.next;
  }
  size_t end = bytes_.find_first_of("\r\n");
  if (end != std::string_view::npos)
    line_end_ = bytes_.substr(end, bytes_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

void IniText::Classify(Line& line) const {
  std::string_view content = Trim(bytes_.substr(line.begin, line.end - line.begin));
  if (content.empty() || content[0] == ';') return;
  if (content[0] == '[') {
    // A header without "]" is not a section; its keys stay in the one above.
    size_t close = FindLast(content, ']');
    if (close == std::string_view::npos) return;
    line.kind = Kind::Section;
    line.name = FileName(content.substr(1, close - 1));
    return;
  }
  line.kind = Kind::Key;
  size_t equals = text::FindChar(content, '=');
  line.name = FileName(content.substr(0, equals));
  if (equals != std::string_view::npos)
    line.equals = static_cast<size_t>(content.data() - bytes_.data()) + equals;
}

IniText::Place IniText::Locate(std::string_view section, std::string_view key) const {
  Place place;
  for (const Line& line : lines_) {
    if (line.kind == Kind::Section) {
      if (place.section) break;  // only the first section of that name counts
      if (NamesEqual(line.name, section)) place.section = &line;
    } else if (line.kind == Kind::Key && place.section) {
      place.last_key = &line;
      if (!place.key && NamesEqual(line.name, key)) place.key = &line;
    }
  }
  return place;
}

std::optional<std::string_view> IniText::Find(std::string_view section,
                                               std::string_view key) const {
  section = AskedName(section);
  key = AskedName(key);
  if (section.empty() || key.empty()) return std::nullopt;
  const Line* line = Locate(section, key).key;
  if (!line || line->equals == std::string_view::npos) return std::nullopt;
  size_t value = line->equals + 1;
  return CutAtNul(Trim(bytes_.substr(value, line->end - value)));
}

std::string IniText::Insert(size_t position, std::string_view lines) const {
  std::string out;
  out.reserve(bytes_.size() + lines.size());
  out.append(bytes_.substr(0, position));
  out.append(lines);
  out.append(bytes_.substr(position));
  return out;
}

std::string IniText::With(std::string_view section, std::string_view key,
                          std::string_view value) const {
  section = Trim(section);
  key = Trim(key);
  Place place = Locate(section, key);
  std::string entry = std::string(key) + "=" + std::string(value);

  if (const Line* line = place.key) {
    std::string out(bytes_.substr(0, line->begin));
    if (line->equals != std::string_view::npos) {
      // Keep the name and the blanks after "=" as the file has them.
      size_t start = line->equals + 1;
      while (start < line->end && IsBlank(bytes_[start])) ++start;
      out.append(bytes_.substr(line->begin, start - line->begin));
    } else {
      out.append(TrimRight(bytes_.substr(line->begin, line->end - line->begin)));
      out.append("=");
    }
    out.append(value);
    out.append(bytes_.substr(line->end));
    return out;
  }

  std::string eol(line_end_);
  if (const Line* after = place.last_key ? place.last_key : place.section) {
    if (after->next > after->end) return Insert(after->next, entry + eol);
    return Insert(bytes_.size(), eol + entry + eol);
  }

  std::string block = "[" + std::string(section) + "]" + eol + entry + eol;
  bool ended = bytes_.empty() || bytes_.back() == '\n' || bytes_.back() == '\r';
  return Insert(bytes_.size(), ended ? block : eol + block);
}

bool ValidSection(std::string_view section) {
  std::string_view name = Trim(section);
  return !name.empty() && !HasLineBreakOrNul(section) && !EndsInLeadByte(name);
}

bool ValidKey(std::string_view key) {
  std::string_view name = Trim(key);
  return !name.empty() && !HasLineBreakOrNul(key) && name[0] != ';' && name[0] != '[' &&
         text::FindChar(name, '=') == std::string_view::npos && !EndsInLeadByte(name);
}

}  // namespace tellu::ini
