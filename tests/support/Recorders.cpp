#include "support/Recorders.h"

namespace wattrix::test {

RecordingMessageBoxes::RecordingMessageBoxes() { SetMessageBoxes(this); }
RecordingMessageBoxes::~RecordingMessageBoxes() { SetMessageBoxes(nullptr); }

int RecordingMessageBoxes::Show(void* owner, const std::string& text, const std::string& caption, unsigned type) {
  boxes.push_back({owner, text, caption, type});
  if (m_answers.empty()) return mb::kIdOk;
  const int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

void RecordingMessageBoxes::QueueAnswer(int answer) { m_answers.push_back(answer); }

RecordingBeeper::RecordingBeeper() { SetBeeper(this); }
RecordingBeeper::~RecordingBeeper() { SetBeeper(nullptr); }

void RecordingBeeper::Beep(unsigned type) {
  std::lock_guard lock(m_mutex);
  m_beeps.push_back(type);
}

std::vector<unsigned> RecordingBeeper::Beeps() const {
  std::lock_guard lock(m_mutex);
  return m_beeps;
}

void RecordingBeeper::Clear() {
  std::lock_guard lock(m_mutex);
  m_beeps.clear();
}

}  // namespace wattrix::test
