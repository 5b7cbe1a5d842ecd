#include "ui/shell/CConnectDlg.h"

namespace wattrix {

// Built only while the tree has no port enumeration: the dialog then
// offers USB alone.
std::vector<CConnectDlg::PortEntry> CConnectDlg::EnumeratePorts() { return {}; }

}  // namespace wattrix
