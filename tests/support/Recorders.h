#pragma once

#include "core/platform/Beeper.h"
#include "core/platform/MessageBoxes.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace wattrix::test {

// Records every message box and answers from a script (OK, or the next
// scripted answer). Installs itself process-wide while it lives.
class RecordingMessageBoxes final : public MessageBoxes {
 public:
  struct Box {
    void* owner;
    std::string text;
    std::string caption;
    unsigned type;
  };

  RecordingMessageBoxes();
  ~RecordingMessageBoxes() override;

  int Show(void* owner, const std::string& text, const std::string& caption, unsigned type) override;
  void QueueAnswer(int answer);

  std::vector<Box> boxes;

 private:
  std::deque<int> m_answers;
};

// Counts beeps by type; installs itself process-wide while it lives.
class RecordingBeeper final : public Beeper {
 public:
  RecordingBeeper();
  ~RecordingBeeper() override;
  void Beep(unsigned type) override;
  std::vector<unsigned> Beeps() const;
  void Clear();

 private:
  mutable std::mutex m_mutex;
  std::vector<unsigned> m_beeps;
};

}  // namespace wattrix::test
