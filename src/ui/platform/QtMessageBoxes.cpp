#include "ui/platform/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace wattrix {

namespace {

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & mb::kIconMask) {
    case mb::kIconError: return QMessageBox::Critical;
    case mb::kIconQuestion: return QMessageBox::Question;
    case mb::kIconWarning: return QMessageBox::Warning;
    case mb::kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(unsigned type) {
  switch (type & mb::kButtonMask) {
    case mb::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case mb::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case mb::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

int ResultOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return mb::kIdYes;
    case QMessageBox::No: return mb::kIdNo;
    case QMessageBox::Cancel: return mb::kIdCancel;
    default: return mb::kIdOk;
  }
}

}  // namespace

int QtMessageBoxes::Show(void* owner, const std::string& text, const std::string& caption, unsigned type) {
  auto* parent = static_cast<QWidget*>(owner);
  if (!parent) parent = QApplication::activeWindow();
  QMessageBox box(IconOf(type), QString::fromStdString(caption), QString::fromStdString(text), ButtonsOf(type),
                  parent);
  if ((type & mb::kButtonMask) == mb::kYesNo) box.setEscapeButton(QMessageBox::No);
  return ResultOf(box.exec());
}

}  // namespace wattrix
