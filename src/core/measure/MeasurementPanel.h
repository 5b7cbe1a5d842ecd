#pragma once

#include "core/vocabulary/Quantity.h"

namespace wattrix {

// What a refresh of a measurement panel rebuilds.
enum class PanelRefresh : int {
  All = 0,     // header texts, scale, limits and values (after a settings change)
  Limits = 1,  // gauge zones and limit texts (after a limit command)
  Values = 2,  // the reading texts and the needle (after every reading)
};

// A read-out panel as the mode-window logic sees it: it shows one quantity
// of the shared MeasurementSettings and is told when to rebuild what. The
// Qt panel widget implements it; the logic's tests use a recorder.
class MeasurementPanel {
 public:
  virtual ~MeasurementPanel() = default;
  virtual wattrix::Quantity Quantity() const = 0;
  virtual void SetQuantity(wattrix::Quantity quantity) = 0;
  virtual int Layout() const = 0;
  virtual void SetLayout(int layout) = 0;
  virtual bool AlarmState() const = 0;
  // Turns the value text red (on) or back to its normal colour.
  virtual void SetAlarmState(bool on) = 0;
  virtual void Refresh(PanelRefresh kind) = 0;
  // Lays the panel out again (after a display-mode or limit-check change).
  virtual void Relayout() = 0;
};

}  // namespace wattrix
