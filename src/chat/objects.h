// The object table: who is around (object 1 is the user, 2..11 the people the
// server has numbered), with the status marks and Who lines read from it.
#pragma once
#include <array>
#include <bitset>
#include <string>
#include <string_view>

#include "chat/wire.h"

namespace tellu {

inline constexpr int kOwnObject = 1;
inline constexpr int kFirstOther = 2;
inline constexpr int kLastObject = 11;

// A set of object numbers, indexed by number (0 and 12+ never set).
using ObjectSet = std::bitset<kLastObject + 1>;

inline bool IsObject(int n) { return n >= kOwnObject && n <= kLastObject; }
inline bool IsOther(int n) { return n >= kFirstOther && n <= kLastObject; }

struct ObjectRecord {
  std::string name;    // Shift-JIS; empty while the object is free
  std::string avatar;  // file reference, bytes as received
  Position pos;
  int16_t room = 0;
};

// Every operation ignores numbers outside 1..11.
class ObjectTable {
 public:
  void SetObject(int n, std::string_view name, std::string_view avatar);
  void SetAvatar(int n, std::string_view avatar);
  // From 8 big-endian bytes; missing bytes read as 0.
  void SetPosition(int n, std::string_view bytes);
  void SetPosition(int n, const Position& pos);
  void SetRoom(int n, uint8_t room);
  // Frees a named object; its position and room stay.
  void EmptyObject(int n);
  void EmptyOthers();

  // For a number outside 1..11: an always-free record.
  const ObjectRecord& Get(int n) const;
  const ObjectRecord& Own() const { return records_[kOwnObject]; }
  // First of 2..11 carrying `name`, or 0.  A free object never matches, not
  // even an empty name.
  int FindOther(std::string_view name) const;

 private:
  std::array<ObjectRecord, kLastObject + 1> records_;
};

// Status marks hidden in the low four bits of a person's z and dir: z names
// the companion program, dir the index into its table.
inline constexpr int kMarkBits = 0x0F;
inline constexpr int kTelluMark = 1;
inline constexpr int kMiraboMark = 4;
inline constexpr int kHashMark = 0x0F;      // no companion; the Who line ends in "#"
inline constexpr int kIndexZeroBit = 0x08;  // in dir: index 0 whatever the other bits

struct StatusEntry {
  std::string_view label;  // Shift-JIS
  int bitmap;
};
// The bitmaps are resource numbers: the Windows front end checks them
// against its resource header.
inline constexpr int kNoStatusBitmap = 150;
inline constexpr std::array<StatusEntry, 8> kTelluStatus = {{
    {"\x92\xCA\x8F\xED\x8F\xF3\x91\xD4", 151},  // 通常状態
    {"\x97\xA3\x90\xC8\x92\x86", 152},          // 離席中
    {"\x83\x8D\x83\x80\x92\x86", 156},          // ロム中
    {"\x94\xE9\x98\x62\x92\x86", 157},          // 秘話中
    {"\x93\x64\x98\x62\x92\x86", 158},          // 電話中
    {"\x83\x89\x83\x75\x83\x89\x83\x75", 160},  // ラブラブ
    {"\x83\x49\x83\x93\x90\x51\x92\x86", 171},  // オン寝中
    {"\x81\x48", 163},                          // ？
}};

inline constexpr std::array<StatusEntry, 8> kMiraboStatus = {{
    {"Mirabo", 164},
    {"\x97\xA3\x90\xC8\x92\x86", 165},          // 離席中
    {"\x83\x8D\x83\x80\x92\x86", 166},          // ロム中
    {"\x94\xE9\x98\x62\x92\x86", 167},          // 秘話中
    {"\x93\x64\x98\x62\x92\x86", 168},          // 電話中
    {"\x83\x6E\x81\x5B\x83\x67\x92\x86", 169},  // ハート中
    {"\x81\x48", 163},                          // ？
    {"\x81\x48", 163},                          // ？
}};

enum class Companion { kNone, kTellu, kMirabo };

struct Mark {
  Companion companion = Companion::kNone;
  int status = 0;     // index into the companion's table; 0 for kNone
  int bitmap = kNoStatusBitmap;
  std::string_view label;  // empty for kNone
  bool hash = false;  // z mark 15: the Who line ends in "#"
};
Mark MarkOf(const Position& pos);

// The Who window's line for a record: the name followed by nine blanks, cut to
// 13 bytes, then the avatar's file name without folder and extension, then "#"
// for z mark 15.  The cut never splits a double-byte character: such a name
// loses the whole character and a blank takes its place.  The avatar part is
// what follows the first backslash (the whole reference if it has none), up
// to the first "." after that (to the end if there is none); the search steps
// over double-byte characters, whose second byte may be 5C.
std::string WhoLine(const ObjectRecord& record);

}  // namespace tellu
