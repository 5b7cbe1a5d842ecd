#include "ui/app/ChildWindows.h"

#include "ui/ccdf/CCcdfFrame.h"
#include "ui/history/CHistoryFrame.h"
#include "ui/measure/CMeasurementFrame.h"
#include "ui/measure/CPulsePowerFrame.h"
#include "ui/shell/CMainFrame.h"

#include "core/device/SensorLink.h"

namespace wattrix {

void RegisterChildWindows(CMainFrame& frame) {
  // The window classes register here as they join the program.
  auto& registry = frame.Registry();
  registry.Register(LiveWindowKind::Measurement, [](CMainFrame& main) -> std::unique_ptr<ChildFrame> {
    return std::make_unique<CMeasurementFrame>(main.Settings(), main.Link(), &main);
  });
  registry.Register(LiveWindowKind::Pulse, [](CMainFrame& main) -> std::unique_ptr<ChildFrame> {
    return std::make_unique<CPulsePowerFrame>(main.Settings(), main.Link(), &main);
  });
  registry.Register(LiveWindowKind::Ccdf, [](CMainFrame& main) -> std::unique_ptr<ChildFrame> {
    return std::make_unique<CCcdfFrame>(main.Settings(), main.Link(), &main);
  });
  registry.Register(ChildKind::History, [](CMainFrame&) -> std::unique_ptr<ChildFrame> {
    return std::make_unique<CHistoryFrame>();
  });
  registry.RegisterHistoryLoader([](ChildFrame& child, const std::string& path, std::string& modelName) {
    auto& history = static_cast<CHistoryFrame&>(child);
    if (!history.LoadHistory(QString::fromStdString(path))) return false;
    modelName = history.ModelName().toStdString();
    return true;
  });
}

}  // namespace wattrix
