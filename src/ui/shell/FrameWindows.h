#pragma once

#include "core/shell/ShellWindows.h"

#include <QString>

#include <functional>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace wattrix {

class CMainFrame;
class ChildFrame;
class ChildWindowRegistry;
class MeasurementSettings;
class SensorLink;

// The widget work of the main frame's child windows and dialogs: making,
// placing, titling, showing and closing the children of the document area,
// and running the dialogs, as the shell controller decides.
class FrameWindows final : public ShellWindows {
 public:
  // Opens the settings dialog over `settings` on `page` with `subPage`
  // selected; true when it was closed with OK.
  using SettingsDialog =
      std::function<bool(QWidget* owner, MeasurementSettings& settings, int page, int subPage)>;
  // Shows the logging download dialog (the logging status has been read).
  using LoggingDialog = std::function<void(QWidget* owner, MeasurementSettings& settings)>;

  FrameWindows(CMainFrame& frame, QMdiArea& area, ChildWindowRegistry& registry, SensorLink& link);

  void SetSettingsDialog(SettingsDialog dialog) { m_settingsDialog = std::move(dialog); }
  void SetLoggingDialog(LoggingDialog dialog) { m_loggingDialog = std::move(dialog); }

  ChildFrame* ActiveChildFrame() const;
  QMdiSubWindow* SubWindowOf(ChildKind kind) const;
  ChildFrame* ChildOfKind(ChildKind kind) const;
  // The open flow without the file dialog; true when a window shows it.
  bool OpenHistoryFile(const QString& path);

  bool CanCreate(ChildKind kind) const override;
  bool CanOpenHistory() const override;
  bool HasSettingsDialog() const override { return static_cast<bool>(m_settingsDialog); }
  bool HasLoggingDialog() const override { return static_cast<bool>(m_loggingDialog); }
  std::optional<ChildKind> ActiveChild() const override;
  bool HasChildren() const override;
  bool HasLiveWindow(LiveWindowKind kind) const override { return SubWindowOf(kind) != nullptr; }
  Quantity CurrentQuantity(LiveWindowKind kind) const override;

  std::optional<int> ChoosePort() override;
  void RunAndWait(const std::function<void()>& exchange) override;
  void StopLiveWindows() override;
  void TellSensorLost(bool lost) override;
  void OpenHistoryByDialog() override;
  bool ActiveChildAgreesToClose() override;
  void CloseActiveChild() override;
  bool ReplaceActiveChild(LiveWindowKind kind) override;
  void DiscardLiveWindow(LiveWindowKind kind) override;
  void PresentLiveWindow(LiveWindowKind kind, int modelCode, const std::string& title) override;
  bool OpenSettings(int page, int subPage) override;
  void ApplySettings(LiveWindowKind kind) override;
  void DownloadLogging() override;
  void Arrange(Arrangement arrangement) override;
  void PostCommand(int id) override;
  void Exit() override;

 private:
  QMdiSubWindow* AddChild(std::unique_ptr<ChildFrame> child);
  void ShowChild(QMdiSubWindow* window);
  // Stops the child and closes its window; `immediately` deletes it before
  // returning, so that no window is left behind.
  void CloseChild(QMdiSubWindow* window, bool immediately);

  CMainFrame& m_frame;
  QMdiArea& m_area;
  ChildWindowRegistry& m_registry;
  SensorLink& m_link;
  SettingsDialog m_settingsDialog;
  LoggingDialog m_loggingDialog;
};

}  // namespace wattrix
