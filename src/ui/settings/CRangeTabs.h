#pragma once

#include "core/settings/SettingsPageRules.h"

#include <QTabWidget>

#include <vector>

namespace wattrix {

class CRangeDlg;
class MeasurementSettings;

// The quantity sub-tabs of the average/peak and pulse pages, one
// CRangeDlg per quantity in tab order.
class CRangeTabs final : public QTabWidget {
  Q_OBJECT

 public:
  CRangeTabs(const MeasurementSettings& settings, const std::vector<settings_page::RangeTab>& tabs,
             QWidget* parent);

  int RangeCount() const { return static_cast<int>(m_ranges.size()); }
  CRangeDlg* Range(int index) const { return m_ranges.at(static_cast<std::size_t>(index)); }

  // Reads every sub-page in tab order into `values`. A sub-page holding a
  // text that is not a number is brought to the front and refused.
  bool ReadAll(std::vector<settings_page::RangeValues>& values);
  // A range check failed: bring its sub-page forward, show the message
  // and focus the low edit of the failing pair.
  void Refuse(const settings_page::ValidationFailure& failure);
  void StoreAll(MeasurementSettings& settings) const;

 private:
  std::vector<CRangeDlg*> m_ranges;
};

}  // namespace wattrix
