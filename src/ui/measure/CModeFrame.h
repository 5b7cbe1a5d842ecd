#pragma once

#include "ui/shell/ChildFrame.h"

namespace wattrix {

class CModeView;

// A live measurement window: the child frame whose single pane is its
// mode view. Commands go to the view; the main frame's calls (prepare,
// settings applied, close) are passed on to it.
class CModeFrame : public ChildFrame {
  Q_OBJECT

 public:
  // Takes the view as its pane (and ownership of it).
  CModeFrame(CModeView* view, QWidget* parent);

  CModeView& View() const { return *m_view; }

  // Stops measuring, clears BusyFlag and unregisters the view's sink.
  void StopForClose() override;
  // The logic starts over for the model and the settings dialog opens.
  void PrepareForModel(int modelCode) override;
  Quantity CurrentQuantity() const override;
  void ApplySettings() override;
  bool ReleaseRun(const char* key) override;
  void HistoriesReplaced() override;
  // An unsaved run asks save / discard / cancel; the answer holds until
  // the window closes or the exit it belonged to is cancelled.
  bool QueryClose() override;
  void CloseCancelled() override { m_closeAgreed = false; }
  void SensorLineLost(bool lost) override;

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

 protected:
  // A window closed with its own close button stops as well.
  void closeEvent(QCloseEvent* event) override;

 private:
  CModeView* m_view;
  bool m_closeAgreed = false;
};

}  // namespace wattrix
