#include "ui/app/ChildWindows.h"

#include "ui/shell/CMainFrame.h"

namespace wattrix {

void RegisterChildWindows(CMainFrame& /*frame*/) {
  // The window classes register here as they join the program.
}

}  // namespace wattrix
