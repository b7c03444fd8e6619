#include "win32/dlg_ui.h"

#include <utility>

#include "win32/tellu_dlg.h"
#include "win32/transfer_view.h"
#include "win32/whisper_flash.h"

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
