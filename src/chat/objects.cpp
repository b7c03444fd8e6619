#include "chat/objects.h"

#include <algorithm>

#include "text/sjis.h"

namespace tellu {

namespace {

constexpr std::size_t kWhoColumn = 13;


std::string_view AvatarPart(std::string_view avatar) {
  std::size_t slash = text::FindChar(avatar, '\\');
  if (slash != std::string_view::npos) avatar.remove_prefix(slash + 1);
  return avatar.substr(0, text::FindChar(avatar, '.'));
}

}  // namespace

void ObjectTable::SetObject(int n, std::string_view name, std::string_view avatar) {
  if (!IsObject(n)) return;
  records_[n].name = name;
  records_[n].avatar = avatar;
}

void ObjectTable::SetAvatar(int n, std::string_view avatar) {
  if (IsObject(n)) records_[n].avatar = avatar;
}

void ObjectTable::SetPosition(int n, std::string_view bytes) {
  SetPosition(n, DecodePosition(bytes));
}

void ObjectTable::SetPosition(int n, const Position& pos) {
  if (IsObject(n)) records_[n].pos = pos;
}

void ObjectTable::SetRoom(int n, uint8_t room) {
  if (IsObject(n)) records_[n].room = room;
}

void ObjectTable::EmptyObject(int n) {
  if (!IsObject(n) || records_[n].name.empty()) return;
  records_[n].name.clear();
  records_[n].avatar.clear();
}

void ObjectTable::EmptyOthers() {
  for (int n = kFirstOther; n <= kLastObject; ++n) EmptyObject(n);
}

const ObjectRecord& ObjectTable::Get(int n) const {
  static const ObjectRecord kFree;
  return IsObject(n) ? records_[n] : kFree;
}

int ObjectTable::FindOther(std::string_view name) const {
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    if (!records_[n].name.empty() && records_[n].name == name) return n;
  }
  return 0;
}

Mark MarkOf(const Position& pos) {
  Mark mark;
  int z_mark = pos.z & kMarkBits;
  int index = (pos.dir & kIndexZeroBit) ? 0 : pos.dir & kMarkBits;
  const std::array<StatusEntry, 8>* table = nullptr;
  if (z_mark == kTelluMark) {
    mark.companion = Companion::kTellu;
    table = &kTelluStatus;
  } else if (z_mark == kMiraboMark) {
    mark.companion = Companion::kMirabo;
    table = &kMiraboStatus;
  } else {
    mark.hash = z_mark == kHashMark;
    return mark;
  }
  mark.status = index;
  mark.bitmap = (*table)[index].bitmap;
  mark.label = (*table)[index].label;
  return mark;
}

std::string WhoLine(const ObjectRecord& record) {
  std::string_view name = record.name;
  std::string line;
  for (std::size_t i = 0; i < name.size();) {
    std::size_t len = text::CharSize(name, i);
    if (line.size() + len > kWhoColumn) break;
    line += name.substr(i, len);
    i += len;
  }
  line.append(9, ' ');
  line.resize(std::min(line.size(), kWhoColumn));
  line += AvatarPart(record.avatar);
  if (MarkOf(record.pos).hash) line += '#';
  return line;
}

}  // namespace tellu
