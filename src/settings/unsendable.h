// Texts of tellu.ini that the program would send for the user (automatic
// replies, the message table) but cannot: a value written by hand whose
// bytes are not Shift-JIS would reach the chat as something else.
#pragma once
#include <string>
#include <vector>

#include "settings/settings.h"

namespace tellu {

// Where each such text is stored: "WHISPERMSG", "AvaReqRefuseMsg", or the
// message section and key ("[MSG1] TEXT3").  Empty when all can be sent.
std::vector<std::string> UnsendableKeys(const Settings& s);

// The start-up notice naming them (Shift-JIS, Japanese then English).
std::string UnsendableNotice(const std::vector<std::string>& keys);

// The text can be sent as it is.
bool Sendable(const std::string& sjis);

}  // namespace tellu
