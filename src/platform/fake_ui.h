// Test double of the Ui port: records every call; questions wait for the test
// to answer them.
#pragma once
#include <deque>
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
  void Beep() override { ++beeps; }
  void Flash(bool on) override { flashes.push_back(on); }
  void LogChanged() override { ++log_changes; }
  void WhoChanged() override { ++who_changes; }
  void StatusChanged(int index) override { statuses.push_back(index); }
  void EnableLoginItems(bool enable) override { login_items.push_back(enable); }
  void ToggleWhoWindow() override { ++who_toggles; }

  // Answers the oldest open question.
  void Answer(bool yes) {
    auto q = std::move(questions.front());
    questions.pop_front();
    q.answer(yes);
  }

  std::vector<Note> notices;
  std::deque<Question> questions;
  int beeps = 0, log_changes = 0, who_changes = 0, who_toggles = 0;
  std::vector<bool> flashes, login_items;
  std::vector<int> statuses;
};

}  // namespace tellu
