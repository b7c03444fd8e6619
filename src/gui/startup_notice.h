// The startup notice (dialog 141): the startup picture in a caption-less
// window, shown while the program starts and the input bar docks.
#pragma once
#include <windows.h>

#include "win32/window.h"

namespace tellu {

class StartupNotice : private Dialog {
 public:
  StartupNotice() = default;
  ~StartupNotice() override { Destroy(); }
  StartupNotice(const StartupNotice&) = delete;
  StartupNotice& operator=(const StartupNotice&) = delete;

  // Creates and shows the notice, owned by `owner`, centred on the screen.
  bool Create(HWND owner);
  // Makes it the foreground window and paints it again.
  void BringToFront();
  void Destroy();
  // The open notice's window; none once it is destroyed, by whatever path.
  HWND Window() const { return hwnd(); }

  // The window rectangle resized to the picture plus 8 pixels for the frame,
  // around the same centre (to the pixel when the sizes differ by an odd number).
  static RECT AroundPicture(const RECT& window, SIZE picture);

 private:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Destroyed() override;
  void Paint(HDC dc);

  HBITMAP picture_ = nullptr;
  SIZE picture_size_{};
};

}  // namespace tellu
