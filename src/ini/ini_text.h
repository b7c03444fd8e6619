// The lines of a private-profile (INI) file as the platform reads them, on
// raw bytes: finding a key's value, and the same bytes with one key set.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellu::ini {

class IniText {
 public:
  // Keeps a view of `bytes`; they must outlive this object.
  explicit IniText(std::string_view bytes);

  // The value of the first key named `key` in the first section named
  // `section`, blanks trimmed and cut at a NUL, quotes still on.  Nothing
  // when the section or key is missing, or the key's line has no "=".
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // The file with that key set to `value`: the key's line is rewritten, or
  // a line is added at the end of its section, or the section is added at
  // the end of the file.  Every other byte stays.  Names must be valid
  // (ValidSection, ValidKey) and the value free of line breaks and NUL.
  std::string With(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    size_t begin = 0;  // first byte of the content
    size_t end = 0;    // end of the content, before the line end
    size_t next = 0;   // start of the next line
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed, cut at NUL
    size_t equals = std::string_view::npos;  // position of "=" on a key line
  };
  struct Place {  // where a key lives or would be added
    const Line* section = nullptr;
    const Line* key = nullptr;
    const Line* last_key = nullptr;  // last key line of the section
  };

  void Split();
  void Classify(Line& line) const;
  Place Locate(std::string_view section, std::string_view key) const;
  std::string Insert(size_t position, std::string_view lines) const;

  std::string_view bytes_;
  std::vector<Line> lines_;
  std::string_view line_end_ = "\r\n";  // as the file's first line ends
};

// Names that can be written so that reading finds them again.
bool ValidSection(std::string_view section);
bool ValidKey(std::string_view key);

}  // namespace tellu::ini
