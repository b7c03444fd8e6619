#include "win32/dlg_ui.h"

#include <utility>

#include "win32/tellu_dlg.h"
#include "win32/transfer_view.h"

namespace tellu {

// The log window and the Real-time Who window are not part of this program
// yet: there is nothing to refresh.
void DlgUi::LogChanged() {}
void DlgUi::WhoChanged() {}

void DlgUi::StatusChanged(int index) { bar_.ShowStatus(index); }

void DlgUi::EnableLoginItems(bool enable) { bar_.EnableLoginItems(enable); }

void DlgUi::ToggleWhoWindow() { bar_.ToggleWhoWindow(); }

std::unique_ptr<ProgressView> DlgUi::OpenProgress(std::function<void()> cancel) {
  return TransferView::Open(owner_, window_, std::move(cancel));
}

}  // namespace tellu
