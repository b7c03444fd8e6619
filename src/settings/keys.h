// Key names of the slot and message sections of tellu.ini, as stored.
#pragma once

namespace tellu::keys {

inline constexpr char kWhisperSw[] = "WHISPERSW";
inline constexpr char kWhisperMsg[] = "WHISPERMSG";
inline constexpr char kAvaReqRefuseFlag[] = "AvaReqRefuseFlag";
inline constexpr char kAvaReqRefuseMsg[] = "AvaReqRefuseMsg";
inline constexpr char kUnMute[] = "UnMute";
inline constexpr char kLogChk[] = "LogChk";
inline constexpr char kLogName[] = "LogName";
inline constexpr char kFontSort[] = "FontSort";
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kSearchTimer[] = "SearchTimer";
inline constexpr char kPositionSaveFlag[] = "PositionSaveFlag";
inline constexpr char kPositionRv[] = "Position_RV";
inline constexpr char kPositionTelluWindow[] = "PositionTelluWindow";
inline constexpr char kSizeTelluWindow[] = "SizeTelluWindow";
inline constexpr char kLogWindowFlag[] = "LogWindowFlag";
inline constexpr char kPositionLogWindow[] = "PositionLogWindow";
inline constexpr char kSizeLogWindow[] = "SizeLogWindow";
inline constexpr char kLogWindowReal[] = "LogWindowReal";
inline constexpr char kWhoWindowFlag[] = "WhoWindowFlag";
inline constexpr char kPositionWhoWindow[] = "PositionWhoWindow";
inline constexpr char kPositionWhoBtn[] = "PositionWhoBtn";
inline constexpr char kMostTopChk[] = "MostTopChk";
inline constexpr char kImeAutoOnChk[] = "ImeAutoOnChk";
inline constexpr char kWhisperFlash[] = "WhisperFlash";
inline constexpr char kMuteList[] = "MuteList";
inline constexpr char kMsg[] = "MSG";
// Message section: "TEXT" + 1..16.
inline constexpr char kTextPrefix[] = "TEXT";

}  // namespace tellu::keys
