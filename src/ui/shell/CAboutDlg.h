#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace wattrix {

// The About box: application icon, name and version, the legal line.
class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  QLabel* NameLine() const { return m_name; }
  QLabel* CopyLine() const { return m_copy; }
  QPushButton* OkButton() const { return m_ok; }

 private:
  QLabel* m_name = nullptr;
  QLabel* m_copy = nullptr;
  QPushButton* m_ok = nullptr;
};

}  // namespace wattrix
