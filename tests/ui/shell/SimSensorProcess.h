#pragma once

#include "core/platform/HostPaths.h"
#include "ui/shell/CConnectDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>

namespace wattrix::test {

// A wattrix-sim process serving one simulated sensor until it goes.
class SimSensorProcess final {
 public:
  explicit SimSensorProcess(const QStringList& arguments) {
    m_process.setProgram(QString::fromStdString(HostPaths::ExecutableDir() + "/wattrix-sim"));
    m_process.setArguments(arguments);
    m_process.start();
  }
  ~SimSensorProcess() {
    m_process.terminate();
    m_process.waitForFinished(5000);
  }
  SimSensorProcess(const SimSensorProcess&) = delete;
  SimSensorProcess& operator=(const SimSensorProcess&) = delete;

  // The port of its "port=" line, or 0 when it never came.
  int WaitForPort() {
    QString out;
    for (int i = 0; i < 100 && !out.contains(u'\n'); ++i) {
      m_process.waitForReadyRead(100);
      out += QString::fromUtf8(m_process.readAllStandardOutput());
    }
    if (!out.startsWith(QStringLiteral("port="))) return 0;
    return out.mid(5).trimmed().toInt();
  }

 private:
  QProcess m_process;
};

// Answers the connect dialog once it is up: USB, or the COM port `port`.
inline void AnswerConnectDialog(int port) {
  QTimer::singleShot(0, [port] {
    auto* dialog = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget());
    if (!dialog) {
      AnswerConnectDialog(port);  // not up yet
      return;
    }
    if (port >= 1) {
      dialog->SerialButton()->setChecked(true);
      dialog->PortList()->setCurrentIndex(dialog->PortList()->findData(port));
    }
    dialog->accept();
  });
}

}  // namespace wattrix::test
