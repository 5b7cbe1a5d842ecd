// wattrix-cli psh report: the one-page report of a history file as PDF.
#include "cli/PshReport.h"

#include "cli/CliCommand.h"
#include "cli/Options.h"
#include "core/history/HistoryDocument.h"
#include "core/report/HistoryReport.h"
#include "core/report/ReportFields.h"
#include "core/report/StandardFonts.h"

#include <cstdio>
#include <set>

namespace wattrix::cli {

namespace {

// Option name without its dashes.
std::string NameOf(const report::FieldInfo& field) { return std::string(field.optionName).substr(2); }

}  // namespace

int PshReport(const std::vector<std::string>& args) {
  std::set<std::string> valued;
  for (const auto& field : report::kFields) valued.insert(NameOf(field));
  Options options(valued, {});
  if (!options.Parse(args)) return Fail(kExitUsage, options.Error());
  if (options.Positional().size() != 2) return Fail(kExitUsage, "usage: psh report FILE OUT.pdf [options]");
  const std::string& path = options.Positional()[0];
  const std::string& out = options.Positional()[1];

  HistoryDocument document;
  if (!document.Load(path)) return Fail(kExitFailed, "cannot read history file '" + path + "'");
  // The dialog's presets: the history's title and the current time.
  ReportFields fields;
  fields.title = document.ReportTitle();
  fields.date = report::CurrentReportDate();
  for (const auto& field : report::kFields) {
    if (const auto value = options.Value(NameOf(field))) fields.*field.member = *value;
  }
  // The dialog's fields take no more; cutting a batch's text silently
  // would print less than was asked for.
  if (const auto* tooLong = report::FirstTooLong(fields)) {
    return Fail(kExitFailed, std::string(tooLong->optionName) + " is longer than " +
                                 std::to_string(tooLong->limit) + " characters");
  }
  // The PDF's standard fonts show Western European text only; say so rather
  // than hand over a report with question marks unannounced.
  for (const auto& field : report::kFields) {
    if (!InWinAnsi(fields.*field.member)) {
      std::fprintf(stderr, "warning: %s has characters outside Windows Latin-1; they are written as '?'\n",
                   field.optionName);
    }
  }
  if (!WriteReportPdf(out, document, fields)) return Fail(kExitFailed, "cannot write PDF file '" + out + "'");
  std::printf("report=%s\n", out.c_str());
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace wattrix::cli
