#pragma once

#include "core/device/DeliveryHandle.h"
#include "core/measure/ModeSession.h"
#include "core/measure/ModeSessionHost.h"
#include "ui/history/SavePathDialog.h"
#include "ui/shell/CommandTarget.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QMenu;
class QTimer;

namespace wattrix {

class CGraphCtrl;
class FramePacer;
class CMainFrame;
class CMeasurementCtrl;
class MeasurementSettings;
class SensorLink;
class QueuedReadingSink;

// The client of a live measurement window: four read-out panels and the
// history graph on a black ground, a 20 ms poll timer and the window's
// logic (ModeSession). The acquisition thread's readings reach the logic
// through the delivery handle the logic gives with its requests, which
// hops them to this thread; the view revokes it when it stops. The
// measurement and pulse views differ only in the logic's kind.
class CModeView : public QWidget, public CommandTarget, public ModeSessionHost {
  Q_OBJECT

 public:
  // `frame` (may be null) gives the status bar, the exchange runner, the
  // right-click menu and command posting.
  CModeView(LiveWindowKind view, MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
            QWidget* parent = nullptr);
  ~CModeView() override;

  ModeSession& Session() { return *m_session; }
  const ModeSession& Session() const { return *m_session; }
  CMeasurementCtrl& Panel(int index) const { return *m_panels[static_cast<std::size_t>(index)]; }
  CGraphCtrl& Graph() const { return *m_graph; }
  // Paces the children's repaints to the screen's frames.
  FramePacer& Pacer() const { return *m_pacer; }
  QMenu* ContextMenu() const { return m_contextMenu; }
  // Who asks for the path Save writes to (the file dialog by default).
  void SetSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }

  // The window is shown for the connected sensor: the logic starts over,
  // then the settings dialog opens (posted through the main frame).
  void Reinitialise();
  // The settings dialog was closed with OK. Display mode and limit checks
  // may have changed, and the panels lay out by both.
  void ApplySettings();
  // Stops measuring and stops taking readings; the view stays usable.
  // Called when the window closes (and again, harmlessly, on destruction).
  void StopForClose();
  bool Registered() const { return m_registered; }
  // The handle the logic's requests are delivered through.
  const std::shared_ptr<DeliveryHandle>& Addressee() const { return m_handle; }
  // Before the window closes: an unsaved run asks save / discard / cancel.
  bool QueryClose() { return m_session->ConfirmClose(); }
  // The sensor stopped answering: measuring stops and the view says so
  // until a sensor is connected again (`lost` false).
  void ShowSensorLost(bool lost);
  const QLabel& SensorLostBanner() const { return *m_lostBanner; }

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

  // ModeSessionHost
  bool AskYesNo(const char* key) override;
  int AskYesNoCancel(const char* key) override;
  void ShowWarning(const char* key) override;
  void RunSaveCommand() override { Save(); }
  void RunExchange(const std::function<void()>& exchange) override;
  void SetWarningText(const std::string& text) override;
  void GraphShowQuantity(int modelCode, Quantity quantity) override;
  void GraphUpdate(bool reset) override;
  void Relayout() override;
  void CommandStatesChanged() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Save();
  // The panel whose placed rectangle holds `pos`; −1 for none.
  int PanelAt(QPoint pos) const;
  void ShowContextMenu(QPoint pos);
  // The green frame follows the logic's selected panel.
  void SyncSelection();

  QPointer<CMainFrame> m_frame;
  std::array<CMeasurementCtrl*, mode_view::kPanelCount> m_panels{};
  CGraphCtrl* m_graph = nullptr;
  FramePacer* m_pacer = nullptr;  // child object
  std::unique_ptr<ModeSession> m_session;
  std::unique_ptr<QueuedReadingSink> m_sink;
  std::shared_ptr<DeliveryHandle> m_handle;
  QTimer* m_timer = nullptr;
  QMenu* m_contextMenu = nullptr;
  QLabel* m_lostBanner = nullptr;
  SavePathChooser m_choosePath;
  ModeArrangement m_arrangement;
  bool m_registered = false;
};

}  // namespace wattrix
