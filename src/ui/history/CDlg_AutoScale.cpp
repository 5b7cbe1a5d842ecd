#include "ui/history/CDlg_AutoScale.h"

#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace wattrix {

namespace {

QString Fixed2(float value) { return QString::fromStdString(FormatFixed(value, 2)); }

// The caption is the command's menu text without its mnemonic and dots.
QString Caption() {
  QString text = QString::fromStdString(strings::GetMenuText("PU_ID_FILE_CHANGESCALE"));
  text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  text.replace(QStringLiteral("&&"), QStringLiteral("&"));
  while (text.endsWith(QLatin1Char('.'))) text.chop(1);
  return text.trimmed();
}

}  // namespace

CDlg_AutoScale::CDlg_AutoScale(const ScaleProposal& proposal, QWidget* parent)
    : QDialog(parent),
      m_proposal(proposal),
      m_auto(new QCheckBox(QStringLiteral("Auto Scale"), this)),
      m_max(new QLineEdit(this)),
      m_min(new QLineEdit(this)) {
  setWindowTitle(Caption());
  auto* fields = new QFormLayout;
  fields->addRow(m_auto);
  fields->addRow(QStringLiteral("Max"), m_max);
  fields->addRow(QStringLiteral("Min"), m_min);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CDlg_AutoScale::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CDlg_AutoScale::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(buttons);

  connect(m_auto, &QCheckBox::toggled, this, &CDlg_AutoScale::OnAutoToggled);
  m_auto->setChecked(true);
  OnAutoToggled(true);
}

void CDlg_AutoScale::OnAutoToggled(bool on) {
  m_max->setEnabled(!on);
  m_min->setEnabled(!on);
  if (on) {
    m_max->setText(Fixed2(m_proposal.top));
    m_min->setText(Fixed2(m_proposal.bottom));
  }
}

void CDlg_AutoScale::accept() {
  m_top = ParseScaleField(m_max->text().toStdString());
  m_bottom = ParseScaleField(m_min->text().toStdString());
  QDialog::accept();
}

}  // namespace wattrix
