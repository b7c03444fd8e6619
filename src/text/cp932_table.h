// The generated code page 932 data (cp932_table.cpp); only the text
// subsystem reads it, through sjis.h.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tellu::text::cp932 {

// Single bytes; 0xFFFF marks a lead byte.
extern const char16_t kSingle[256];

// Double-byte codes: kRows[kRowOfLead[lead]][trail index], trail index
// counting 40..7E then 80..FC.  0xFF: the lead has no row; 0: no mapping.
extern const uint8_t kRowOfLead[256];
extern const char16_t kRows[][188];

// Unicode << 16 | code, sorted: Windows' round-trip choice for each character.
extern const uint32_t kEncode[];
extern const size_t kEncodeSize;

// The same shape: Windows' best-fit mappings for characters the code page
// lacks (U+00E9 -> "e"); used for typed text only.
extern const uint32_t kBestFit[];
extern const size_t kBestFitSize;

}  // namespace tellu::text::cp932
