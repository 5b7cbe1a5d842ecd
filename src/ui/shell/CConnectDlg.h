#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;

namespace wattrix {

// The Connect Device dialog: USB or one COM port of the enumeration; the
// choice is one port number, -1 for USB.
class CConnectDlg final : public QDialog {
  Q_OBJECT

 public:
  struct PortEntry {
    QString name;  // "%s (COM%d)" or "COM%d"
    int port;
    // Why the port may not be opened, with what to do; empty when it may.
    QString problem = {};
  };

  // Lists the ports found on this machine (CEnumPorts).
  explicit CConnectDlg(QWidget* parent = nullptr);
  // Lists the given ports, in this order.
  CConnectDlg(std::vector<PortEntry> ports, QWidget* parent);

  // The ports as the enumeration finds them.
  static std::vector<PortEntry> EnumeratePorts();

  // -1 for USB, else the chosen COM port number; valid after OK.
  int ChosenPort() const { return m_chosenPort; }
  QString ChosenName() const { return m_chosenName; }

  QRadioButton* SerialButton() const { return m_serial; }
  QRadioButton* UsbButton() const { return m_usb; }
  QComboBox* PortList() const { return m_wndPort; }
  // The chosen port's problem, shown under the list while it has one.
  QLabel* ProblemNote() const { return m_problem; }

  void accept() override;

 private:
  void Build(const std::vector<PortEntry>& ports);
  void ShowProblemOf(int index);

  QRadioButton* m_serial = nullptr;
  QRadioButton* m_usb = nullptr;
  QComboBox* m_wndPort = nullptr;
  QLabel* m_problem = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
  int m_chosenPort = -1;
  QString m_chosenName;
};

}  // namespace wattrix
