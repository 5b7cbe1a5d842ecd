#include "ui/history/CChangeTitleDlg.h"

#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_CHANGETITLE";

QString Text(const char* key) { return QString::fromStdString(strings::GetText(kSection, key)); }

QString WithoutTrailingBlanks(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1).isSpace()) --end;
  text.truncate(end);
  return text;
}

}  // namespace

CChangeTitleDlg::CChangeTitleDlg(const QString& title, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(this)) {
  setWindowTitle(Text("CAPTION"));
  auto* label = new QLabel(Text("IDC_STATIC_TITLE"), this);
  label->setBuddy(m_field);
  m_field->setMaxLength(kMaxLength);
  m_field->setText(title);
  m_field->setMinimumWidth(m_field->fontMetrics().averageCharWidth() * (kMaxLength + 4));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(Text("IDCANCEL"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &CChangeTitleDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CChangeTitleDlg::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(m_field, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setSizeGripEnabled(false);
  m_field->selectAll();
  m_field->setFocus();
}

void CChangeTitleDlg::accept() {
  const QString title = WithoutTrailingBlanks(m_field->text());
  if (title.isEmpty()) {
    strings::MessageBoxKey(static_cast<QWidget*>(this), "S_IDD_CHANGETITLE_ONOK", mb::kIconError | mb::kOk);
    m_field->setFocus();
    m_field->selectAll();
    return;
  }
  m_title = title;
  QDialog::accept();
}

}  // namespace wattrix
