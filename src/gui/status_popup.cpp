#include "gui/status_popup.h"

#include "chat/objects.h"
#include "chat/status.h"
#include "win32/resource.h"

namespace tellu {

HBITMAP StatusPictures::Get(int index) {
  if (index < 0 || index >= kStatusCount) return nullptr;
  return cache_.Get(kTelluStatus[static_cast<size_t>(index)].bitmap).bitmap;
}

HICON ProgramIcon(int id, bool small) {
  const int w = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  const int h = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                       IMAGE_ICON, w, h, LR_SHARED));
}

void ShowStatusOnBar(HWND bar, int index, StatusPictures& pictures) {
  if (HBITMAP picture = pictures.Get(index))
    SendDlgItemMessageW(bar, IDC_BAR_STATUS, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(picture));
  SendMessageW(bar, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(StatusIcon(index), true)));
}

void StatusPopup::Show(HWND owner, POINT at) {
  menu_.RemoveAll();
  for (const StatusMenuItem& item : StatusMenu())
    menu_.AppendItem(static_cast<UINT>(item.command), item.label, pictures_.Get(item.index));
  menu_.Track(TPM_RIGHTBUTTON, at.x, at.y, owner);
}

}  // namespace tellu
