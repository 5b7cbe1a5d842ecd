#include "ui/report/LimitedTextEdit.h"

#include <QTextCursor>

namespace wattrix {

LimitedTextEdit::LimitedTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::Limit);
}

void LimitedTextEdit::Limit() {
  if (m_limiting) return;
  const QString text = toPlainText();
  if (text.size() <= m_maxLength) return;
  m_limiting = true;
  // Never cut between the halves of a surrogate pair.
  qsizetype keep = m_maxLength;
  if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;
  const int position = static_cast<int>(std::min<qsizetype>(textCursor().position(), keep));
  setPlainText(text.left(keep));
  QTextCursor cursor = textCursor();
  cursor.setPosition(position);
  setTextCursor(cursor);
  m_limiting = false;
}

}  // namespace wattrix
