// Reads arbitrary bytes as a history file of the current layout, then
// loads, exports and draws what was accepted.
#include "FuzzHistorySupport.h"

#include "core/graph/GraphFeeder.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDocument.h"
#include "core/history/HistoryFile.h"
#include "core/history/HistoryLayout.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wattrix;
  const std::string path = fuzz::WriteInput("current.psh", data, size);

  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  if (ReadHistoryFile(path, header, points, count)) {
    // Accepted: whole records of a known mask, never more than the file.
    const auto k = static_cast<std::size_t>(history::RecordLength(header.Mask()));
    if (k == 0 || points.size() != count * k || points.capacity() * 4 > size) __builtin_trap();
  }

  HistoryDocument document;
  if (!document.Load(path)) return 0;
  (void)FormatHistoryCsv(document.Header(), document.Points(), document.Count(), document.ModelCode());
  GraphFeeder feeder;
  feeder.Resize(640, 480);
  fuzz::NullCanvas canvas;
  for (const Quantity q : HistoryQuantities()) {
    for (const bool returnLoss : {false, true}) {
      document.ShowQuantity(q, returnLoss);
      feeder.ShowDocument(document);
      feeder.RenderTo(canvas);
    }
  }
  // A line never has more than four vertices per pixel column.
  if (canvas.Vertices() > 10u * 4u * 640u) __builtin_trap();
  return 0;
}
