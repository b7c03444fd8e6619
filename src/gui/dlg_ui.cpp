#include "gui/dlg_ui.h"

#include <utility>

#include "gui/tellu_dlg.h"
#include "gui/transfer_view.h"
#include "gui/whisper_flash.h"

namespace tellu {

void DlgUi::LogChanged() { bar_.LogChanged(); }
void DlgUi::WhoChanged() { bar_.WhoChanged(); }

void DlgUi::StatusChanged(int index) { bar_.ShowStatus(index); }

void DlgUi::EnableLoginItems(bool enable) { bar_.EnableLoginItems(enable); }

void DlgUi::ToggleWhoWindow() { bar_.ToggleWhoWindow(); }

void DlgUi::WhisperFlash() { FlashForWhisper(bar_.host(), owner_); }

std::unique_ptr<ProgressView> DlgUi::OpenProgress(std::function<void()> cancel) {
  return TransferView::Open(owner_, window_, std::move(cancel));
}

}  // namespace tellu
