#include "gui/picture_list.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "text/sjis.h"
#include "gui/bitmap_draw.h"
#include "win32/wide_text.h"

namespace tellu {

static_assert(std::is_trivially_copyable_v<PictureEntry>);
static_assert(std::is_trivially_copyable_v<BitmapCache::Record>);

namespace {

const PictureEntry* EntryOf(ULONG_PTR data) { return reinterpret_cast<const PictureEntry*>(data); }

// The bytes that fit, never ending inside a double-byte character.
std::size_t FittingLength(std::string_view text) {
  if (text.size() <= PictureEntry::kMaxText) return text.size();
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t step = text::IsLeadByte(static_cast<uint8_t>(text[at])) ? 2 : 1;
    if (at + step > PictureEntry::kMaxText) break;
    at += step;
  }
  return at;
}

// Where the text of an item starts: right of its picture.
RECT TextRect(const DRAWITEMSTRUCT& item, const PictureEntry& entry) {
  RECT r = item.rcItem;
  r.left += (entry.picture ? entry.picture->width : 0) + 3;
  return r;
}

}  // namespace

PictureList::PictureList()
    : text_(GetSysColor(COLOR_WINDOWTEXT)),
      background_(GetSysColor(COLOR_WINDOW)),
      brush_(CreateSolidBrush(background_)) {}

PictureList::~PictureList() {
  if (brush_) DeleteObject(brush_);
}

void PictureList::SetColours(COLORREF text, COLORREF background) {
  text_ = text;
  if (background == background_ && brush_) return;
  background_ = background;
  if (brush_) DeleteObject(brush_);
  brush_ = CreateSolidBrush(background_);
}

LRESULT PictureList::Insert(int index, std::string_view text, int bitmap_id) {
  auto* entry = new PictureEntry{background_, text_, &cache_.Get(bitmap_id), 0, {}};
  entry->length = static_cast<std::uint16_t>(FittingLength(text));
  std::memcpy(entry->text, text.data(), entry->length);
  const LRESULT r = SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(entry));
  if (r == LB_ERR || r == LB_ERRSPACE) delete entry;
  return r;
}

const PictureEntry* PictureList::Entry(int index) const {
  const LRESULT data = SendMessageW(hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == LB_ERR ? nullptr : EntryOf(static_cast<ULONG_PTR>(data));
}

int PictureList::Count() const {
  const LRESULT n = SendMessageW(hwnd(), LB_GETCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int>(n);
}

void PictureList::Measure(MEASUREITEMSTRUCT& item) {
  const PictureEntry* entry = EntryOf(item.itemData);
  const int height = entry && entry->picture ? entry->picture->height : 0;
  // A picture that failed to load would leave a line no one could click.
  item.itemHeight = static_cast<UINT>(height > 0 ? height : kEmptyItemHeight);
}

void PictureList::Draw(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const PictureEntry* entry = EntryOf(item.itemData);
  if (!entry) return;
  const std::wstring text = Wide(entry->Text());
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : entry->background;
    const COLORREF fore = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : entry->text_colour;
    HBRUSH fill = CreateSolidBrush(back);
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
    if (entry->picture && entry->picture->bitmap)
      DrawTransparent(item.hDC, entry->picture->bitmap, item.rcItem.left, item.rcItem.top,
                      kSeeThrough);
    RECT r = TextRect(item, *entry);
    const COLORREF old_back = SetBkColor(item.hDC, back);
    const COLORREF old_fore = SetTextColor(item.hDC, fore);
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, format);
    SetTextColor(item.hDC, old_fore);
    SetBkColor(item.hDC, old_back);
  }
  if (item.itemAction & ODA_FOCUS) {
    RECT r = TextRect(item, *entry);
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    const LONG height = r.bottom - r.top;
    r.top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - height) / 2;
    r.bottom = r.top + height;
    DrawFocusRect(item.hDC, &r);
  }
}

void PictureList::Delete(const DELETEITEMSTRUCT& item) { delete EntryOf(item.itemData); }

}  // namespace tellu
