#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace wattrix {

// Asks for a history's title: one field of at most 30 characters. OK with
// a title that is empty once trailing blanks are removed is refused with a
// message, and the field keeps the focus.
class CChangeTitleDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 30;

  explicit CChangeTitleDlg(const QString& title, QWidget* parent = nullptr);

  // The accepted title, trailing blanks removed.
  QString Title() const { return m_title; }
  QLineEdit* Field() const { return m_field; }

  void accept() override;

 private:
  QLineEdit* m_field;
  QString m_title;
};

}  // namespace wattrix
