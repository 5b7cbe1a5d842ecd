// wattrix-cli psh: inspects and converts history files.
#include "cli/CliCommand.h"
#include "cli/PshReport.h"

#include "core/history/HistoryDocument.h"
#include "core/history/HistoryLayout.h"
#include "core/platform/NumberText.h"

#include <cstdio>
#include <string>
#include <vector>

namespace wattrix::cli {

namespace {

void PrintLine(const std::string& key, const std::string& value) {
  std::fputs((key + "=" + value + "\n").c_str(), stdout);
}

bool LoadOrFail(HistoryDocument& document, const std::string& path) {
  if (document.Load(path)) return true;
  Fail(kExitFailed, "cannot read history file '" + path + "'");
  return false;
}

int Info(const std::string& path) {
  HistoryDocument document;
  if (!LoadOrFail(document, path)) return kExitFailed;
  const HistoryHeader& h = document.Header();
  char mask[8];
  std::snprintf(mask, sizeof mask, "0x%02x", h.Mask().Bits());
  PrintLine("mask", mask);
  PrintLine("model", h.ModelName());
  PrintLine("serial", h.SerialNumber());
  const char type = h.SensorType();
  PrintLine("type", type == '\0' ? std::string() : std::string(1, type));
  PrintLine("frequency", FormatHundredths(h.FrequencyX100()));
  PrintLine("start", h.StartTime());
  PrintLine("stop", h.StopTime());
  PrintLine("offset", FormatFixed(h.ExternalOffset(), 2));
  PrintLine("interval", h.IntervalText());
  PrintLine("title", h.Title());
  PrintLine("points", std::to_string(document.Count()));
  for (int entry = 0; entry < HistoryHeader::kEntries; ++entry) {
    const std::string name = history::kTableNames[static_cast<std::size_t>(entry)];
    const auto stats = h.Statistics(entry);
    const auto display = h.Display(entry);
    PrintLine("stats_" + name, FormatFixed(stats.min, 2) + "," + FormatFixed(stats.max, 2) + "," +
                                   FormatFixed(stats.average, 2));
    PrintLine("display_" + name, FormatFixed(display.low, 2) + "," + FormatFixed(display.high, 2));
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

int Csv(const std::string& path, const std::string& out) {
  HistoryDocument document;
  if (!LoadOrFail(document, path)) return kExitFailed;
  if (!document.ExportCsv(out)) return Fail(kExitFailed, "cannot write CSV file '" + out + "'");
  return kExitOk;
}

int Psh(const std::vector<std::string>& args) {
  if (args.empty())
    return Fail(kExitUsage, "psh needs a sub-command: info FILE | csv FILE OUT | report FILE OUT.pdf");
  const std::string& sub = args[0];
  if (sub == "report") return PshReport(std::vector<std::string>(args.begin() + 1, args.end()));
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) == 0) return Fail(kExitUsage, "unknown option '" + args[i] + "'");
  }
  if (sub == "info") {
    if (args.size() != 2) return Fail(kExitUsage, "usage: psh info FILE");
    return Info(args[1]);
  }
  if (sub == "csv") {
    if (args.size() != 3) return Fail(kExitUsage, "usage: psh csv FILE OUT");
    return Csv(args[1], args[2]);
  }
  return Fail(kExitUsage, "unknown psh sub-command '" + sub + "'");
}

const CommandRegistration kRegistration(
    "psh",
    "psh info FILE | psh csv FILE OUT | psh report FILE OUT.pdf [--title T] "
    "[--date D] [--engineer E] [--site S] [--purpose P] [--result R] [--remark M]",
    Psh);

}  // namespace

}  // namespace wattrix::cli
