#pragma once

#include "core/ccdf/CcdfSession.h"
#include "core/ccdf/CcdfSessionHost.h"
#include "ui/shell/ChildFrame.h"

#include <QPointer>

#include <array>
#include <memory>
#include <string>

class QMenu;
class QTimer;

namespace wattrix {

class CCcdfGraphCtrl;
class CCcdfSplitter;
class CCcdfTextView;
class CMainFrame;
class FramePacer;
class MeasurementSettings;
class QueuedReadingSink;

// The window of CCDF mode: the device, measurement and limit panels down
// the left quarter, the graph over three quarters of the height on the
// right with the average, level and probability panels below it, all in
// four locked splitters. It hosts the window's logic (CcdfSession): a
// 20 ms request timer, and the sweeps of the acquisition thread handed to
// this thread through the delivery handle its logic gives with each
// request, revoked when the window stops.
class CCcdfFrame final : public ChildFrame, public CcdfSessionHost {
  Q_OBJECT

 public:
  enum SplitterIndex { kOuter = 0, kLeft, kRight, kLowerRight };

  // `mainFrame` (may be null) gives the status bar, the exchange runner,
  // the right-click menu and the message boxes' owner.
  CCcdfFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
             QWidget* parent = nullptr);
  ~CCcdfFrame() override;

  ChildKind Kind() const override { return LiveWindowKind::Ccdf; }
  // Stops measuring, clears BusyFlag and unregisters the sink.
  void StopForClose() override;
  void InitialUpdate() override { RefreshCcdfViews(); }
  // Shown again for the connected sensor: data measured on another sensor
  // is dropped, and the panels show the new one.
  void PrepareForModel(int modelCode) override;
  void ApplySettings() override { RefreshCcdfViews(); }

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

  // CcdfSessionHost
  void RefreshCcdfViews() override;
  void SetWarningText(const std::string& text) override;
  bool AskYesNo(const char* key) override;
  void RunExchange(const std::function<void()>& exchange) override;

  CcdfSession& Session() { return *m_session; }
  const CcdfSession& Session() const { return *m_session; }
  CCcdfGraphCtrl& Graph() const { return *m_graph; }
  FramePacer& Pacer() const { return *m_pacer; }
  CCcdfTextView& Panel(CcdfPanel panel) const { return *m_panels[static_cast<std::size_t>(panel)]; }
  CCcdfSplitter& Splitter(SplitterIndex index) const { return *m_splitters[index]; }
  QMenu* ContextMenu() const { return m_contextMenu; }
  bool Registered() const { return m_registered; }
  // The handle the logic's requests are delivered through.
  const std::shared_ptr<DeliveryHandle>& Addressee() const { return m_handle; }
  // The size rule, applied to the splitters for the frame's size.
  void ApplySizeRule();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BuildPanes();
  // The three panels of the left column, and the three below the graph,
  // each shrink their lines alike.
  void EqualisePanelFonts();
  void ShowContextMenu(QPoint globalPos);

  MeasurementSettings& m_settings;
  QPointer<CMainFrame> m_mainFrame;
  std::array<CCcdfSplitter*, 4> m_splitters{};
  std::array<CCcdfTextView*, kCcdfPanelCount> m_panels{};
  CCcdfGraphCtrl* m_graph = nullptr;
  FramePacer* m_pacer = nullptr;  // child object
  std::unique_ptr<CcdfSession> m_session;
  std::unique_ptr<QueuedReadingSink> m_sink;
  std::shared_ptr<DeliveryHandle> m_handle;
  QTimer* m_timer = nullptr;
  QMenu* m_contextMenu = nullptr;
  bool m_registered = false;
  // The sensor the data was measured on.
  int m_dataModel = -1;
  std::string m_dataSerial;
};

}  // namespace wattrix
