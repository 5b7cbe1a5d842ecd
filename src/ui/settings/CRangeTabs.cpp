#include "ui/settings/CRangeTabs.h"

#include "ui/settings/CRangeDlg.h"
#include "ui/settings/SettingsFields.h"

#include <QLineEdit>

namespace wattrix {

using namespace settings_fields;

CRangeTabs::CRangeTabs(const MeasurementSettings& settings, const std::vector<settings_page::RangeTab>& tabs,
                       QWidget* parent)
    : QTabWidget(parent) {
  setObjectName(QStringLiteral("rangeTabs"));
  for (const auto& tab : tabs) {
    auto* range = new CRangeDlg(settings, tab.quantity, this);
    addTab(range, StringText(tab.labelKey));
    m_ranges.push_back(range);
  }
}

bool CRangeTabs::ReadAll(std::vector<settings_page::RangeValues>& values) {
  values.clear();
  for (int i = 0; i < RangeCount(); ++i) {
    if (QLineEdit* wrong = Range(i)->ReadControls()) {
      setCurrentIndex(i);
      RefuseNotANumber(*wrong);
      return false;
    }
    values.push_back(Range(i)->Values());
  }
  return true;
}

void CRangeTabs::Refuse(const settings_page::ValidationFailure& failure) {
  if (failure.rangePage < 0 || failure.rangePage >= RangeCount()) return;
  CRangeDlg* range = Range(failure.rangePage);
  setCurrentIndex(failure.rangePage);
  const bool display = failure.field == settings_page::Field::DisplayRange;
  ShowErrorKey(this, failure.key.c_str(), display ? range->DisplayLowEdit() : range->LimitLowEdit());
}

void CRangeTabs::StoreAll(MeasurementSettings& settings) const {
  for (const CRangeDlg* range : m_ranges) range->Store(settings);
}

}  // namespace wattrix
