#include "gui/message_table_dlg.h"

#include "res/resource.h"
#include "win32/wide_text.h"
#include "win32/window.h"

namespace tellu {
namespace {

class MessageTableDlg : public Dialog {
 public:
  explicit MessageTableDlg(const std::array<MessageEntry, kMessageCount>& entries)
      : entries_(entries) {}

 protected:
  BOOL OnInitDialog() override {
    for (int n = 0; n < kMessageCount; ++n)
      SetWindowTextSjis(GetDlgItem(hwnd(), IDC_MESSAGE_FIRST + n), entries_[n].label);
    return TRUE;
  }

  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM) override {
    if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return FALSE;
    const int n = LOWORD(wparam) - IDC_MESSAGE_FIRST;
    if (n < 0 || n >= kMessageCount) return FALSE;
    End(kMessageResultBase + n);
    return TRUE;
  }

 private:
  const std::array<MessageEntry, kMessageCount>& entries_;
};

}  // namespace

INT_PTR RunMessageTable(HWND owner, const std::array<MessageEntry, kMessageCount>& entries) {
  MessageTableDlg table(entries);
  return table.RunModal(owner, IDD_MESSAGE_TABLE);
}

std::optional<int> ChosenMessage(INT_PTR result) {
  if (result < kMessageResultBase || result >= kMessageResultBase + kMessageCount)
    return std::nullopt;
  return static_cast<int>(result - kMessageResultBase);
}

}  // namespace tellu
