#include "settings/unsendable.h"

#include "settings/keys.h"
#include "text/sjis.h"

namespace tellu {
namespace {

// "tellu.ini の次の文には送信できない文字があるため、送信しません: "
constexpr char kNoticeJapanese[] =
    "tellu.ini \x82\xCC\x8E\x9F\x82\xCC\x95\xB6\x82\xC9\x82\xCD\x91\x97\x90\x4D\x82\xC5\x82\xAB"
    "\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x82\xAA\x82\xA0\x82\xE9\x82\xBD\x82\xDF\x81\x41\x91\x97"
    "\x90\x4D\x82\xB5\x82\xDC\x82\xB9\x82\xF1: ";
constexpr char kNoticeEnglish[] =
    "These texts of tellu.ini hold characters that cannot be sent, and are not sent: ";

}  // namespace

bool Sendable(const std::string& sjis) { return text::FindUnmapped(sjis) == std::string::npos; }

std::vector<std::string> UnsendableKeys(const Settings& s) {
  std::vector<std::string> keys;
  if (!Sendable(s.whisper_msg)) keys.push_back(keys::kWhisperMsg);
  if (!Sendable(s.ava_req_refuse_msg)) keys.push_back(keys::kAvaReqRefuseMsg);
  for (int n = 0; n < kMessageCount; ++n)
    if (!Sendable(s.messages[n].text))
      keys.push_back("[" + s.msg + "] " + keys::kTextPrefix + std::to_string(n + 1));
  return keys;
}

std::string UnsendableNotice(const std::vector<std::string>& keys) {
  std::string list;
  for (const std::string& key : keys) list += (list.empty() ? "" : ", ") + key;
  return kNoticeJapanese + list + "\r\n" + kNoticeEnglish + list;
}

}  // namespace tellu
