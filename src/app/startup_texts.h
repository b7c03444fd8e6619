// The fixed texts of start-up that concern tellu.ini and the host's
// configuration file: history lines and the advice shown to the user.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

// Start-up history lines; the path or program follows those ending in " :"
// or a blank.
inline constexpr std::string_view kHistoryStart = "Start Tellu";
// The tellu.ini that was read, so that a report of a start without one says
// where the file was looked for.
inline constexpr std::string_view kHistoryTelluIni = "checking tellu.ini :";
inline constexpr std::string_view kHistoryChecking = "checking ini_file :";
inline constexpr std::string_view kHistoryReading = "reading ini_file :";
inline constexpr std::string_view kHistoryExecute = "execute ";
inline constexpr std::string_view kHistoryNoHostDir = "cann't get AP pass";

// Shown when slot 1 names no host configuration file.
inline constexpr std::string_view kNoTelluIni = "cann't find tellu.ini.";

// Tells the user which line to add to the host's configuration file when
// the host folder cannot be found.
inline std::string HostDirAdvice(std::string_view host_ini_path, std::string_view pro_dir_key) {
  std::string text(host_ini_path);
  text += "\x82\xC9\r\n";  // に
  text += pro_dir_key;
  text += "=c:\\zenmo\\rvk3\r\n";
  // のようにインストールしたフォルダ名の設定行を追加してください
  text +=
      "\x82\xCC\x82\xE6\x82\xA4\x82\xC9\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xB5"
      "\x82\xBD\x83\x74\x83\x48\x83\x8B\x83\x5F\x96\xBC\x82\xCC\x90\xDD\x92\xE8\x8D\x73\x82\xF0"
      "\x92\xC7\x89\xC1\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";
  return text;
}

}  // namespace tellu
