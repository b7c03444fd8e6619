#include "win32/wide_text.h"

#include "text/sjis.h"

namespace tellu {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

std::wstring Wide(std::string_view sjis) {
  const std::u16string utf16 = text::SjisToUtf16(sjis);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string Sjis(std::wstring_view wide) {
  return text::Utf16ToSjis(std::u16string(wide.begin(), wide.end()));
}

bool SjisExact(std::wstring_view wide, std::string& out) {
  return text::Utf16ToSjisExact(std::u16string(wide.begin(), wide.end()), out);
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return Sjis(buffer);
}

bool SetWindowTextSjis(HWND window, std::string_view sjis) {
  return SetWindowTextW(window, Wide(sjis).c_str()) != FALSE;
}

}  // namespace tellu
