#pragma once

#include "ui/platform/QtFallbackBeeper.h"
#include "ui/platform/QtMessageBoxes.h"
#include "ui/shell/CommandTarget.h"

#include <QElapsedTimer>
#include <QStringList>

#include <memory>

class QApplication;
class QWidget;

namespace wattrix {

class CanberraBeeper;
class CMainFrame;

// The application object: brings the process up in a fixed order, creates
// the main frame, tears the shared objects down at exit, and owns the Help
// and About commands.
class CWattrixApp final : public CommandTarget {
 public:
  // `clock` runs since the process started (for --measure-startup).
  CWattrixApp(int& argc, char** argv, QElapsedTimer clock = {});
  ~CWattrixApp() override;
  CWattrixApp(const CWattrixApp&) = delete;
  CWattrixApp& operator=(const CWattrixApp&) = delete;

  // The start-up sequence up to the shown main frame; false ends the
  // process.
  bool InitInstance();
  // The event loop; returns the exit code.
  int Run();

  CMainFrame* MainFrame() const { return m_frame.get(); }

  // Opens the help document next to the program, or warns where it was
  // looked for.
  static void OnHelp(QWidget* owner);
  static void OnAbout(QWidget* owner);

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

 private:
  void ReportStartup();

  std::unique_ptr<QApplication> m_app;
  QElapsedTimer m_clock;
  QStringList m_fileArguments;
  bool m_measureStartup = false;
  QtMessageBoxes m_boxes;
  QtFallbackBeeper m_fallbackBeeper;
  std::unique_ptr<CanberraBeeper> m_beeper;
  std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace wattrix
