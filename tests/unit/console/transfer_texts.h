// A transfer window's texts as the console tests feed them, and the row the
// terminal shows for them.
#pragma once

namespace tellu {

inline constexpr char kErase[] = "\r\x1b[K";
// Shift-JIS: "Aさんから" CR LF "foo.movを受信中です".
inline constexpr char kTitle[] = "Tellu Receiving";
inline constexpr char kMessage[] =
    "A\x82\xb3\x82\xf1\x82\xa9\x82\xe7\r\nfoo.mov\x82\xf0\x8e\xf3\x90\x4d\x92\x86\x82\xc5\x82\xb7";
// The same as the terminal shows it: "[Tellu Receiving] Aさんから foo.movを受信中です".
inline constexpr char kLabel[] =
    "[Tellu Receiving] A\xe3\x81\x95\xe3\x82\x93\xe3\x81\x8b\xe3\x82\x89 foo.mov\xe3\x82\x92\xe5\x8f\x97\xe4\xbf\xa1\xe4\xb8\xad\xe3\x81\xa7\xe3\x81\x99";

}  // namespace tellu
