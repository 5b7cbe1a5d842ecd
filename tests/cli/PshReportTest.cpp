#include "cli/CliRunner.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/vocabulary/Quantity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <regex>
#include <string>

namespace wattrix {
namespace {

using test::RunCli;

std::int64_t Clock() { return 1'600'000'000; }

// Text of a PDF as pdftotext reads it, without any white space, so that
// wrapped lines compare with the text given.
std::string PdfText(const std::string& pdf) {
  const test::TempDir dir;
  const std::string txt = dir.File("out.txt");
  const std::string command = "pdftotext -enc UTF-8 '" + pdf + "' '" + txt + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "pdftotext (poppler-utils) is needed: " << command;
  std::string text = test::ReadFileBytes(txt);
  std::string squeezed;
  for (const char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) squeezed += c;
  }
  return squeezed;
}

std::string Squeezed(std::string text) {
  std::erase_if(text, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
  return text;
}

std::string SavedRun(const test::TempDir& dir, const std::string& title, int points) {
  MeasurementSettings s;
  s.SetClock(&Clock);
  s.SetModelCode(5);
  s.SetSerialNumber("1001");
  s.SetFrequency(1800.25f);
  s.MarkStart(true);
  for (int i = 0; i < points; ++i) {
    s.AddReading(kAvg, 40.0f + static_cast<float>(i % 7) / 10);
    s.AddReading(kPeak, 43.0f);
  }
  const auto path = dir.File("run.psh");
  EXPECT_TRUE(WriteHistoryFile(path, s, QuantityMask{0x03}, title));
  return path;
}

TEST(PshReport, WritesEveryFieldIntoThePdf) {
  const test::TempDir dir;
  const std::string run = SavedRun(dir, "Tower 7", 500);
  const std::string pdf = dir.File("report.pdf");
  std::string result;
  for (int i = 0; result.size() < 690; ++i) result += "reading" + std::to_string(i) + " ";
  result.resize(700, 'z');
  const auto out =
      RunCli("psh report '" + run + "' '" + pdf +
             "' --title 'Antenna acceptance' --date '2026-03-07 09:05' --engineer 'I. M\xC3\xBCller'"
             " --site 'Mast (north)' --purpose 'Check the feeder' --result '" +
             result + "' --remark 'Cable \\ loss 0.4 dB'");
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, "report=" + pdf + "\n");
  ASSERT_EQ(test::ReadFileBytes(pdf).rfind("%PDF-1.4", 0), 0u);

  const std::string text = PdfText(pdf);
  for (const std::string expected :
       {"MeasurementReport", "Title", "Antennaacceptance", "Date", "2026-03-0709:05", "Engineer",
        "I.M\xC3\xBCller", "SiteInformation", "Mast(north)", "TestPurpose", "Checkthefeeder",
        "MeasurementData", "Result", "Remark", "Cable\\loss0.4dB"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  EXPECT_NE(text.find(Squeezed(result)), std::string::npos) << "the 700-character result is whole";
  // The graph comes with its texts: the history's title and the statistics.
  EXPECT_NE(text.find("Tower7"), std::string::npos);
  EXPECT_NE(text.find("AVG"), std::string::npos);
}

TEST(PshReport, PresetsTitleAndDateAsTheDialogDoes) {
  const test::TempDir dir;
  const std::string pdf = dir.File("r.pdf");
  ASSERT_EQ(RunCli("psh report '" + SavedRun(dir, "Tower 7", 3) + "' '" + pdf + "'").status, 0);
  std::string text = PdfText(pdf);
  EXPECT_NE(text.find("TitleTower7"), std::string::npos) << text;
  EXPECT_TRUE(std::regex_search(text, std::regex("Date\\d{4},\\d{2},\\d{2}(AM|PM)\\d{1,2}:\\d{2}"))) << text;

  // A history without a title is reported as "History Graph".
  ASSERT_EQ(RunCli("psh report '" + SavedRun(dir, "", 3) + "' '" + pdf + "'").status, 0);
  EXPECT_NE(PdfText(pdf).find("TitleHistoryGraph"), std::string::npos);
}

TEST(PshReport, RefusesWhatItCannotReport) {
  const test::TempDir dir;
  const std::string run = SavedRun(dir, "T", 3);
  const std::string pdf = dir.File("r.pdf");
  // Fields longer than the dialog takes fail, and nothing is written.
  const auto tooLong = RunCli("psh report '" + run + "' '" + pdf + "' --engineer " + std::string(31, 'e'));
  EXPECT_EQ(tooLong.status, 1);
  EXPECT_EQ(tooLong.err, "error: --engineer is longer than 30 characters\n");
  const auto full = RunCli("psh report '" + run + "' '" + pdf + "' --engineer " + std::string(30, 'e'));
  EXPECT_EQ(full.status, 0);
  EXPECT_EQ(full.err, "");
  // Text the PDF fonts cannot show is written, with a warning.
  const auto cyrillic = RunCli("psh report '" + run + "' '" + pdf + "' --site '\xD0\x96\xD0\x96'");
  EXPECT_EQ(cyrillic.status, 0);
  EXPECT_EQ(cyrillic.err,
            "warning: --site has characters outside Windows Latin-1; they are written as '?'\n");
  test::WriteFileBytes(dir.File("bad.psh"), std::string(217, '\x01'));
  EXPECT_EQ(RunCli("psh report '" + dir.File("bad.psh") + "' '" + pdf + "'").status, 1);
  EXPECT_EQ(RunCli("psh report '" + run + "' '" + dir.File("missing/r.pdf") + "'").status, 1);
  EXPECT_EQ(RunCli("psh report '" + run + "'").status, 2);
  EXPECT_EQ(RunCli("psh report '" + run + "' '" + pdf + "' --colour red").status, 2);
  EXPECT_EQ(RunCli("psh report '" + run + "' '" + pdf + "' --title").status, 2);
}

TEST(CliVersionAndHelp, BothProgramsAnswerOnStdout) {
  const auto version = RunCli("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("wattrix-cli ") + WATTRIX_VERSION + "\n");
  const auto help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: wattrix-cli", 0), 0u);
  EXPECT_NE(help.out.find("psh report FILE OUT.pdf"), std::string::npos);
  EXPECT_TRUE(help.err.empty());
  EXPECT_EQ(RunCli("").status, 2);

  const auto sim = [](const std::string& args) { return test::RunProgram(WATTRIX_SIM_PATH, args); };
  const auto simVersion = sim("--version");
  EXPECT_EQ(simVersion.status, 0);
  EXPECT_EQ(simVersion.out, std::string("wattrix-sim ") + WATTRIX_VERSION + "\n");
  const auto simHelp = sim("--help");
  EXPECT_EQ(simHelp.status, 0);
  EXPECT_EQ(simHelp.out.rfind("usage: wattrix-sim", 0), 0u);
}

}  // namespace
}  // namespace wattrix
