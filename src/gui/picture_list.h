// PictureList: an owner-drawn list box whose entries each carry a picture, a
// Shift-JIS text and the colours they were inserted with.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "gui/bitmap_cache.h"
#include "win32/subclass.h"

namespace tellu {

// The item data of one entry, owned by the list.  Plain data, so that a test
// in another process can read it back.
struct PictureEntry {
  static constexpr std::size_t kMaxText = 511;  // longer texts are cut
  COLORREF background;
  COLORREF text_colour;
  const BitmapCache::Record* picture;
  std::uint16_t length;
  char text[kMaxText + 1];

  std::string_view Text() const { return {text, length}; }
};

// Used on a list box with variable-height owner drawing and no strings; its
// parent hands it the list's WM_MEASUREITEM, WM_DRAWITEM and WM_DELETEITEM.
class PictureList : public SubclassedControl {
 public:
  static constexpr int kEmptyItemHeight = 26;
  static constexpr COLORREF kSeeThrough = RGB(192, 192, 192);

  PictureList();
  ~PictureList() override;

  // Colours for the entries inserted from now on.
  void SetColours(COLORREF text, COLORREF background);
  HBRUSH Brush() const { return brush_; }
  // The list box's answer: the index, or LB_ERR / LB_ERRSPACE (the entry is
  // then freed).
  LRESULT Insert(int index, std::string_view text, int bitmap_id);
  // nullptr for an index that holds no entry.
  const PictureEntry* Entry(int index) const;
  int Count() const;
  BitmapCache& cache() { return cache_; }

  static void Measure(MEASUREITEMSTRUCT& item);
  static void Draw(const DRAWITEMSTRUCT& item);
  static void Delete(const DELETEITEMSTRUCT& item);

 private:
  BitmapCache cache_;
  COLORREF text_;
  COLORREF background_;
  HBRUSH brush_ = nullptr;
};

}  // namespace tellu
