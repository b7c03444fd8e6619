#include "avatar/progress.h"

#include <array>
#include <cmath>

#include "avatar/address.h"
#include "avatar/texts.h"

namespace tellu {

namespace t = avatar_text;

ProgressTexts TransferTexts(std::string_view peer, std::string_view file_reference,
                            bool receiving) {
  std::string name(AfterFirstBackslash(file_reference));
  if (receiving)
    return {std::string(t::kReceivingTitle),
            std::string(peer) + std::string(t::kFromPeer) + name + std::string(t::kReceivingTail)};
  return {std::string(t::kSendingTitle),
          std::string(peer) + std::string(t::kToPeer) + name + std::string(t::kSendingTail)};
}

float Share(uint64_t done, uint64_t total) {
  if (total == 0) return 0.0f;
  if (done >= total) return 100.0f;
  return static_cast<float>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
}

std::string ShareText(float share) {
  // A float times 10 is exact in double, so the tie test below is exact.
  const double tenths = std::floor(static_cast<double>(share) * 10.0 + 0.5);
  const long long whole = static_cast<long long>(tenths) / 10;
  const int digit = static_cast<int>(static_cast<long long>(tenths) % 10);
  std::string number = std::to_string(whole) + "." + std::to_string(digit);
  if (number.size() < 6) number.insert(0, 6 - number.size(), ' ');
  return number + " %";
}

int BarPosition(float share) { return static_cast<int>(share); }

std::string_view Face(unsigned frame) {
  static constexpr std::array<std::string_view, 8> kFaces = {
      "(^_^)",     "(^_-)",   "(^_^)/", "(^_^)/~", "(^_^)/~~",
      "(\xDF_\xDF)/ ~",  // (ﾟ_ﾟ)/ ~
      "(\xDF_\xDF)/",    // (ﾟ_ﾟ)/
      "(\xDF_\xDF)",     // (ﾟ_ﾟ)
  };
  return kFaces[frame % kFaces.size()];
}

ProgressWindow::ProgressWindow(Ui& ui, Timers& timers, std::function<void()> cancel)
    : timers_(timers), view_(ui.OpenProgress(std::move(cancel))) {}

ProgressWindow::~ProgressWindow() { Close(); }

void ProgressWindow::SetTexts(std::string_view peer, std::string_view file_reference,
                              bool receiving) {
  if (!view_) return;
  ProgressTexts texts = TransferTexts(peer, file_reference, receiving);
  view_->SetTexts(texts.title, texts.message);
}

void ProgressWindow::StartTimer() {
  if (timer_ == 0 && view_) timer_ = timers_.Start(kTickMs, true, [this] { Tick(); });
}

void ProgressWindow::Close() {
  if (timer_ != 0) {
    timers_.Cancel(timer_);
    // A transfer shorter than one tick would otherwise end without a share.
    Tick();
  }
  timer_ = 0;
  if (view_) view_->Close();
  view_.reset();
}

void ProgressWindow::Tick() {
  if (!view_) return;
  const float share = Share(done, total);
  view_->SetShare(ShareText(share), BarPosition(share), std::string(Face(frame_)));
  ++frame_;
}

}  // namespace tellu
