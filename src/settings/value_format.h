// The value encodings of tellu.ini's settings: real ("%4.1f" / "%f"), pair
// ("%d,%d") and list (items joined by ","), independent of the C locale.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace tellu {

// One decimal, padded on the left with blanks to four characters: " 9.0", "10.5".
std::string FormatReal(double value);
// The leading number as "%f" scans it (blanks, sign, digits, point, exponent);
// 0 when there is none.
double ParseReal(std::string_view text);

std::string FormatPair(Pair pair);
// "%d,%d": a number that is missing or unreadable counts as 0; the comma must
// follow the first number at once.  Numbers beyond the int range saturate.
Pair ParsePair(std::string_view text);

std::string JoinList(const std::vector<std::string>& items);
// Split at every ","; empty items are dropped.
std::vector<std::string> SplitList(std::string_view text);

// A point size as tenths of a point, rounded; 0 (the system's default size)
// for sizes that are not a number, negative, or too large for a font.
int FontTenths(double points);

}  // namespace tellu
