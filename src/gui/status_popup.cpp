#include "gui/status_popup.h"

#include "chat/objects.h"
#include "chat/status.h"
#include "res/resource.h"

namespace tellu {

static_assert(kNormalIcon == IDI_TELLU && kAwayIcon == IDI_AWAY &&
              kNoStatusBitmap == IDB_STATUS_NONE && kTelluStatus[0].bitmap == IDB_STATUS_NORMAL &&
              kTelluStatus[1].bitmap == IDB_STATUS_AWAY && kTelluStatus[2].bitmap == IDB_STATUS_ROM &&
              kTelluStatus[3].bitmap == IDB_STATUS_SECRET &&
              kTelluStatus[4].bitmap == IDB_STATUS_PHONE && kTelluStatus[5].bitmap == IDB_STATUS_LOVE &&
              kTelluStatus[6].bitmap == IDB_STATUS_SLEEP &&
              kTelluStatus[7].bitmap == IDB_STATUS_UNKNOWN && kMiraboStatus[0].bitmap == IDB_MIRABO &&
              kMiraboStatus[1].bitmap == IDB_MIRABO_AWAY &&
              kMiraboStatus[2].bitmap == IDB_MIRABO_ROM &&
              kMiraboStatus[3].bitmap == IDB_MIRABO_SECRET &&
              kMiraboStatus[4].bitmap == IDB_MIRABO_PHONE &&
              kMiraboStatus[5].bitmap == IDB_MIRABO_HEART &&
              kMiraboStatus[6].bitmap == IDB_STATUS_UNKNOWN &&
              kMiraboStatus[7].bitmap == IDB_STATUS_UNKNOWN);

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
