// The input bar's control numbers, as its dialog template gives them: the
// layout and the tooltips name controls by them.
#pragma once

namespace tellu {

inline constexpr int kBarOkButton = 1;  // hidden; Enter presses it
inline constexpr int kBarEdit = 1000;
inline constexpr int kWhoButton = 1001;
inline constexpr int kMessageTableButton = 1005;
inline constexpr int kStatusButton = 1059;

}  // namespace tellu
