#pragma once

#include "core/shell/ChildKind.h"
#include "core/vocabulary/Quantity.h"
#include "ui/shell/CommandTarget.h"

#include <QWidget>

namespace wattrix {

// Base of every child window of the main frame's document area. A frame
// routes commands to its view first, then handles its own.
class ChildFrame : public QWidget, public CommandTarget {
  Q_OBJECT

 public:
  explicit ChildFrame(QWidget* parent = nullptr) : QWidget(parent) {}
  virtual ChildKind Kind() const = 0;
  // Stops what the window does before it is closed by the main frame (the
  // measurement windows stop measuring); nothing for history windows.
  virtual void StopForClose() {}

  // Called by the main frame once the window is created and titled, before
  // it is shown (first layout, first data into the view).
  virtual void InitialUpdate() {}
  // A mode window prepares its view for the connected sensor model.
  virtual void PrepareForModel(int /*modelCode*/) {}
  // The quantity a measurement window currently shows (Quantity.h); the
  // settings dialog opens on that quantity's range page.
  virtual Quantity CurrentQuantity() const { return kAvg; }
  // The settings dialog was closed with OK: take over the changed settings.
  virtual void ApplySettings() {}
  // Before a log download replaces the live histories: a live window stops
  // measuring and has an unsaved run saved or discarded as the user answers
  // question `key`; false keeps the run (the download must not happen).
  virtual bool ReleaseRun(const char* /*key*/) { return true; }
  // The live histories were replaced (a downloaded log).
  virtual void HistoriesReplaced() {}

  // Before the window closes (its close command or button, a mode switch,
  // exit): asks about what would be lost; false keeps the window open.
  virtual bool QueryClose() { return true; }
  // Another window cancelled the exit this one had agreed to.
  virtual void CloseCancelled() {}
  // The sensor stopped answering (true), or one is connected again (false).
  virtual void SensorLineLost(bool /*lost*/) {}
};

}  // namespace wattrix
