#include "win32/win_input_lines.h"

#include <algorithm>


namespace tellu {
namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Console cells a character takes: the East Asian wide ranges take two.
int Cells(char16_t c) {
  if (IsHigh(c)) return 2;
  if (IsLow(c)) return 0;
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                    (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6);
  return wide ? 2 : 1;
}

bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n;
    char32_t c;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      n = 1, c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2, c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3, c = b & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = c << 6 | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((n == 2 && c < 0x800) || (n == 3 && c < 0x10000) || (c >= 0xD800 && c <= 0xDFFF) ||
        c > 0x10FFFF)
      return false;
    i += n + 1;
  }
  return true;
}

}  // namespace

TypedLine InputText(std::string_view bytes) {
  return ValidUtf8(bytes) ? TypedText(bytes) : TypedSjis(bytes);
}

void ConsoleLineEditor::Key(const KEY_EVENT_RECORD& key, InputLines& out) {
  if (out.end) return;
  const auto c = static_cast<char16_t>(key.uChar.UnicodeChar);
  // A character typed as Alt and a number on the keypad comes with the
  // release of Alt.
  const bool alt_code = !key.bKeyDown && key.wVirtualKeyCode == VK_MENU && c != 0;
  if (!key.bKeyDown && !alt_code) return;
  const int repeat = alt_code ? 1 : std::max<int>(key.wRepeatCount, 1);
  for (int i = 0; i < repeat && !out.end; ++i) Char(c, out);
}

void ConsoleLineEditor::Char(char16_t c, InputLines& out) {
  switch (c) {
    case 0:
      return;
    case u'\r':
    case u'\n':
      out.echo += L"\r\n";
      out.lines.push_back(TypedText(std::u16string_view(line_)));
      line_.clear();
      return;
    case u'\b':
      if (line_.empty()) return;
      Erase(line_.size() >= 2 && IsLow(line_.back()) && IsHigh(line_[line_.size() - 2]) ? 2 : 1,
            out);
      return;
    case 0x1B:  // Esc
      Erase(line_.size(), out);
      return;
    case 0x1A:  // Ctrl+Z
      if (line_.empty()) {
        out.echo += L"^Z\r\n";
        out.end = true;
      }
      return;
  }
  if (c < 0x20 && c != u'\t') return;
  line_ += c;
  out.echo += c == u'\t' ? L' ' : static_cast<wchar_t>(c);
  if (line_.size() >= kMaxInputLine && !IsHigh(c)) {
    out.echo += L"\r\n";
    out.lines.push_back(TypedText(std::u16string_view(line_)));
    line_.clear();
  }
}

void ConsoleLineEditor::Erase(size_t units, InputLines& out) {
  int cells = 0;
  for (size_t i = line_.size() - units; i < line_.size(); ++i) cells += Cells(line_[i]);
  line_.resize(line_.size() - units);
  out.echo += std::wstring(cells, L'\b') + std::wstring(cells, L' ') + std::wstring(cells, L'\b');
}

void PipeLines::Feed(std::string_view bytes, InputLines& out) {
  pending_.append(bytes);
  if (first_) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (pending_.size() < kBom.size() && kBom.starts_with(pending_)) return;
    if (pending_.starts_with(kBom)) pending_.erase(0, kBom.size());
    first_ = false;
  }
  size_t start = 0;
  for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1)
    Emit(pending_.substr(start, end - start), out);
  pending_.erase(0, start);
  if (pending_.size() >= kMaxInputLine) {
    Emit(std::move(pending_), out);
    pending_.clear();
  }
}

void PipeLines::Finish(InputLines& out) {
  if (!pending_.empty()) Emit(std::move(pending_), out);
  pending_.clear();
  out.end = true;
}

void PipeLines::Emit(std::string line, InputLines& out) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  out.lines.push_back(InputText(line));
}

}  // namespace tellu
