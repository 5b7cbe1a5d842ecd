#pragma once

#include <QPlainTextEdit>

namespace wattrix {

// A text field of several lines that takes at most a number of characters
// (UTF-16 units, as a line edit's maximum length counts them): typing or
// pasting more keeps the first ones.
class LimitedTextEdit final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LimitedTextEdit(int maxLength, QWidget* parent = nullptr);
  int MaxLength() const { return m_maxLength; }

 private:
  void Limit();

  int m_maxLength;
  bool m_limiting = false;
};

}  // namespace wattrix
