#include "ui/shell/CConnectDlg.h"

#include "core/device/EnumPorts.h"
#include "core/device/PortAccess.h"
#include "core/strings/StringTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_CONNECT";

QString Text(const char* key) { return QString::fromStdString(strings::GetText(kSection, key)); }

}  // namespace

std::vector<CConnectDlg::PortEntry> CConnectDlg::EnumeratePorts() {
  std::vector<PortEntry> ports;
  const CEnumPorts enumeration;
  for (int i = 0; i < enumeration.GetCounts(); ++i) {
    char name[1024] = {};
    const int port = enumeration.GetPort(i, name, sizeof name);
    ports.push_back({QString::fromUtf8(name), port, QString::fromStdString(PortPermissionProblem(port))});
  }
  return ports;
}

CConnectDlg::CConnectDlg(QWidget* parent) : QDialog(parent) { Build(EnumeratePorts()); }

CConnectDlg::CConnectDlg(std::vector<PortEntry> ports, QWidget* parent) : QDialog(parent) { Build(ports); }

void CConnectDlg::Build(const std::vector<PortEntry>& ports) {
  setWindowTitle(Text("CAPTION"));
  setModal(true);

  auto* prompt = new QLabel(Text("IDC_STATIC_SELECT"), this);
  m_serial = new QRadioButton(Text("IDC_SERIAL"), this);
  m_usb = new QRadioButton(Text("IDC_USB"), this);
  auto* group = new QButtonGroup(this);
  group->addButton(m_serial, 0);
  group->addButton(m_usb, 1);

  m_wndPort = new QComboBox(this);
  m_wndPort->setMinimumContentsLength(24);
  // Wide enough for the longest entry, its permission mark included.
  m_wndPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  // Entries in the order found; the item data is the port number.
  for (const auto& entry : ports) {
    if (entry.problem.isEmpty()) {
      m_wndPort->addItem(entry.name, entry.port);
      continue;
    }
    // A port this user may not open is marked, and says why.
    m_wndPort->addItem(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                       QStringLiteral("%1 %2").arg(entry.name, Text("IDC_NO_ACCESS")), entry.port);
    m_wndPort->setItemData(m_wndPort->count() - 1, entry.problem, Qt::ToolTipRole);
    m_wndPort->setItemData(m_wndPort->count() - 1, entry.problem, Qt::UserRole + 1);
  }
  if (m_wndPort->count() > 0) m_wndPort->setCurrentIndex(0);
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("PortProblem"));
  m_problem->setWordWrap(true);
  m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_problem->setFixedWidth(qMax(m_wndPort->sizeHint().width(), 360));
  connect(m_wndPort, &QComboBox::currentIndexChanged, this, [this](int index) { ShowProblemOf(index); });
  ShowProblemOf(m_wndPort->currentIndex());
  // Choosing a port picks the serial route.
  connect(m_wndPort, &QComboBox::activated, this, [this] { m_serial->setChecked(true); });

  m_buttons = new QDialogButtonBox(this);
  QPushButton* ok = m_buttons->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  m_buttons->addButton(Text("IDCANCEL"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(m_buttons, &QDialogButtonBox::accepted, this, &CConnectDlg::accept);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &CConnectDlg::reject);

  auto* choices = new QGridLayout;
  choices->setColumnMinimumWidth(0, 12);
  choices->addWidget(m_serial, 0, 0, 1, 2);
  choices->addWidget(m_wndPort, 1, 1);
  choices->addWidget(m_problem, 2, 1);
  choices->addWidget(m_usb, 3, 0, 1, 2);
  choices->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addLayout(choices);
  layout->addSpacing(8);
  layout->addWidget(m_buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // USB is the default choice.
  m_serial->setChecked(false);
  m_usb->setChecked(true);
}

void CConnectDlg::ShowProblemOf(int index) {
  const QString problem = index >= 0 ? m_wndPort->itemData(index, Qt::UserRole + 1).toString() : QString();
  m_problem->setText(problem);
  m_problem->setVisible(!problem.isEmpty());
}

void CConnectDlg::accept() {
  if (m_usb->isChecked()) {
    m_chosenPort = -1;
    m_chosenName = m_usb->text();
  } else {
    const int index = m_wndPort->currentIndex();
    if (index < 0) return;  // serial without a port: the dialog stays open
    m_chosenName = m_wndPort->itemText(index);
    m_chosenPort = m_wndPort->itemData(index).toInt();
  }
  QDialog::accept();
}

}  // namespace wattrix
