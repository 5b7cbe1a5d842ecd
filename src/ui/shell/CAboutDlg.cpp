#include "ui/shell/CAboutDlg.h"

#include "core/strings/StringTable.h"
#include "ui/shell/AppIcon.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_ABOUTBOX";

QString Text(const char* key) { return QString::fromStdString(strings::GetText(kSection, key)); }

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text("CAPTION"));

  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  m_name = new QLabel(
      Text("IDC_STATIC_NAME") + u' ' + QString::fromStdString(strings::GetString("S_VERSION")), this);
  QFont nameFont = m_name->font();
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
  m_name->setFont(nameFont);
  m_copy = new QLabel(Text("IDC_STATIC_COPY"), this);
  m_copy->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  m_ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(m_name);
  texts->addWidget(m_copy);
  texts->addStretch(1);

  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addLayout(texts, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace wattrix
