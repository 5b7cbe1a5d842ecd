#include "ui/settings/CSettingDlg.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsTabs.h"
#include "ui/settings/CSettingDlg_Avg.h"
#include "ui/settings/CSettingDlg_Ccdf.h"
#include "ui/settings/CSettingDlg_Logging.h"
#include "ui/settings/CSettingDlg_Pulse.h"
#include "ui/settings/SettingsFields.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wattrix {

using settings_fields::DialogText;
using settings_tabs::Page;

namespace {
constexpr const char* kSection = "IDD_SETTING_MAIN";
}  // namespace

CSettingDlg::CSettingDlg(MeasurementSettings& settings, LoggingActions* logging, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
  setObjectName(QStringLiteral("settingDialog"));
  setWindowTitle(DialogText(kSection, "CAPTION"));
  setModal(true);

  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("pageTabs"));
  // Every page exists whatever the model; the ones without a tab stay
  // hidden children of the dialog.
  m_avg = new CSettingDlg_Avg(settings, this);
  m_ccdf = new CSettingDlg_Ccdf(settings, this);
  m_pulse = new CSettingDlg_Pulse(settings, this);
  m_logging = new CSettingDlg_Logging(settings, logging, this);
  for (CSettingPage* page : std::array<CSettingPage*, 4>{m_avg, m_ccdf, m_pulse, m_logging}) page->hide();

  const int model = settings.ModelCode();
  for (const auto& tab : settings_tabs::TabsFor(model)) {
    CSettingPage* page = tab.page == Page::Avg     ? static_cast<CSettingPage*>(m_avg)
                         : tab.page == Page::Ccdf  ? static_cast<CSettingPage*>(m_ccdf)
                         : tab.page == Page::Pulse ? static_cast<CSettingPage*>(m_pulse)
                                                   : static_cast<CSettingPage*>(m_logging);
    m_tabs->addTab(page, DialogText(kSection, tab.labelKey));
  }
  const auto hidden = settings_tabs::HiddenFor(model);
  if (hidden.avgTechnology) m_avg->HideTechnology();
  if (hidden.avgAverage) m_avg->HideAverage();
  if (hidden.ccdfTechnology) m_ccdf->HideTechnology();
  connect(m_tabs, &QTabWidget::currentChanged, this, &CSettingDlg::OnTabChanged);

  m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_buttons->button(QDialogButtonBox::Ok)->setText(DialogText(kSection, "IDOK"));
  m_buttons->button(QDialogButtonBox::Cancel)->setText(DialogText(kSection, "IDCANCEL"));
  connect(m_buttons, &QDialogButtonBox::accepted, this, &CSettingDlg::accept);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &CSettingDlg::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs, 1);
  layout->addWidget(m_buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void CSettingDlg::SetInitialTab(int tab) {
  if (tab >= 0 && tab < m_tabs->count())
    m_tabs->setCurrentIndex(tab);
  else if (m_tabs->count() > 0)
    m_tabs->setCurrentIndex(0);
  // Kept as asked even when the model has no such tab: OK then applies
  // the average page, the one shown.
  m_currentTab = tab;
}

void CSettingDlg::SetInitialSubTab(int subTab) {
  m_avg->SetInitialSubTab(subTab);
  m_pulse->SetInitialSubTab(subTab);
}

void CSettingDlg::OnTabChanged(int index) { m_currentTab = index; }

CSettingPage* CSettingDlg::PageAppliedOnTab(int tab) const {
  switch (settings_tabs::PageApplied(m_settings.ModelCode(), tab)) {
    case Page::Ccdf:
      return m_ccdf;
    case Page::Pulse:
      return m_pulse;
    case Page::Logging:
      return m_logging;
    case Page::Avg:
      break;
  }
  return m_avg;
}

void CSettingDlg::accept() {
  const int tabBefore = m_currentTab;
  const int indexBefore = m_tabs->currentIndex();
  // Every page the model shows is validated, in this order, whichever tab
  // is on top. Each is brought forward while it checks itself, so that
  // its message and the focus land on a control the user can see and
  // correct. A page without a tab is left out: nobody could correct it.
  for (CSettingPage* page : std::array<CSettingPage*, 4>{m_avg, m_ccdf, m_pulse, m_logging}) {
    const int index = m_tabs->indexOf(page);
    if (index < 0) continue;
    m_tabs->setCurrentIndex(index);
    if (!page->Validate()) return;  // the failing page stays on top
  }
  if (m_tabs->count() > 0) m_tabs->setCurrentIndex(indexBefore);
  m_currentTab = tabBefore;
  PageAppliedOnTab(m_currentTab)->Apply();
  QDialog::accept();
}

}  // namespace wattrix
