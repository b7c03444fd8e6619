#include "gui/bitmap_cache.h"

namespace tellu {

BitmapCache::~BitmapCache() {
  while (head_) {
    Record* next = head_->next;
    if (head_->bitmap) DeleteObject(head_->bitmap);
    delete head_;
    head_ = next;
  }
}

const BitmapCache::Record& BitmapCache::Get(int id) {
  for (Record* r = head_; r; r = r->next)
    if (r->id == id) return *r;
  auto bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  ++loads_;
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) info = {};
  head_ = new Record{id, bitmap, info.bmWidth, info.bmHeight, head_};
  return *head_;
}

}  // namespace tellu
