// BitmapCache: the bitmap resources a window draws, each loaded once and kept
// until the cache goes.
#pragma once
#include <windows.h>

namespace tellu {

class BitmapCache {
 public:
  // Plain data, so that a test in another process can read it back.
  struct Record {
    int id;
    HBITMAP bitmap;  // nullptr when the resource could not be loaded
    int width;
    int height;
    Record* next;
  };

  BitmapCache() = default;
  ~BitmapCache();
  BitmapCache(const BitmapCache&) = delete;
  BitmapCache& operator=(const BitmapCache&) = delete;

  // The record of bitmap resource `id`, loaded on its first request; a
  // resource that fails to load is not tried again.
  const Record& Get(int id);
  int loads() const { return loads_; }

 private:
  Record* head_ = nullptr;  // newest first
  int loads_ = 0;
};

}  // namespace tellu
