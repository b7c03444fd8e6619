// Test double of the Ui port: records every call; questions wait for the test
// to answer them.
#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tellu {

class FakeUi : public Ui {
 public:
  struct Note {
    std::string text, caption;
    NoticeIcon icon;
  };
  struct Question {
    std::string text, caption;
    std::function<void(bool)> answer;
  };

  void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) override {
    notices.push_back({text, caption, icon});
  }
  void Ask(const std::string& text, const std::string& caption,
           std::function<void(bool)> answer) override {
    questions.push_back({text, caption, std::move(answer)});
  }
  using Ui::Beep;
  void Beep(BeepKind kind) override {
    ++beeps;
    beep_kinds.push_back(kind);
  }
  void Flash(bool on) override { flashes.push_back(on); }
  void WhisperFlash() override { ++whisper_flashes; }
  void LogChanged() override { ++log_changes; }
  void WhoChanged() override { ++who_changes; }
  void StatusChanged(int index) override { statuses.push_back(index); }
  void EnableLoginItems(bool enable) override { login_items.push_back(enable); }
  void ToggleWhoWindow() override { ++who_toggles; }

  // One progress window as the test sees it; it outlives the view.
  struct Progress {
    struct Share {
      std::string share;
      int bar;
      std::string face;
    };
    std::string title, message;
    std::vector<Share> shares;
    bool open = true;
    std::function<void()> cancel;
    // The user presses the cancel button.
    void Cancel() {
      if (!open) return;
      auto c = cancel;  // the callback may destroy the view
      c();
    }
  };
  std::unique_ptr<ProgressView> OpenProgress(std::function<void()> cancel) override {
    auto record = std::make_shared<Progress>();
    record->cancel = std::move(cancel);
    progress.push_back(record);
    return std::make_unique<View>(std::move(record));
  }

  // Answers the oldest open question.
  void Answer(bool yes) {
    auto q = std::move(questions.front());
    questions.pop_front();
    q.answer(yes);
  }

  std::vector<Note> notices;
  std::vector<std::shared_ptr<Progress>> progress;
  std::vector<BeepKind> beep_kinds;
  std::deque<Question> questions;
  int beeps = 0, whisper_flashes = 0, log_changes = 0, who_changes = 0, who_toggles = 0;
  std::vector<bool> flashes, login_items;
  std::vector<int> statuses;

 private:
  class View : public ProgressView {
   public:
    explicit View(std::shared_ptr<Progress> record) : record_(std::move(record)) {}
    ~View() override { record_->open = false; }
    void SetTexts(const std::string& title, const std::string& message) override {
      record_->title = title;
      record_->message = message;
    }
    void SetShare(const std::string& share, int bar, const std::string& face) override {
      record_->shares.push_back({share, bar, face});
    }
    void Close() override { record_->open = false; }

   private:
    std::shared_ptr<Progress> record_;
  };
};

}  // namespace tellu
