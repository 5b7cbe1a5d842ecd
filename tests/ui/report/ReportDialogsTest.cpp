#include "../history/HistoryTestFiles.h"

#include "core/history/HistoryDocument.h"
#include "core/platform/HostPaths.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "support/TempDir.h"
#include "ui/history/CHistoryFrame.h"
#include "ui/history/CHistoryView.h"
#include "ui/report/CReportGenDlg.h"
#include "ui/report/CReportPrintDlg.h"
#include "ui/report/LimitedTextEdit.h"
#include "ui/report/ReportPrinting.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>

namespace wattrix {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// pdftotext's reading of a PDF without white space, so wrapped lines
// compare with the texts typed.
QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
  return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

QString Squeezed(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); }

ReportFields SampleFields() {
  return ReportFields{"Feeder check", " 2026,03,07 AM 9:05", "Ada",        "Mast 4",
                      "Purpose text", "Result text",         "Remark text"};
}

}  // namespace

// The report generator and the print dialog offscreen: presets, limits,
// the printer in the title, PDF output, no printer, cancel, and the
// history window's Report command end to end.
class ReportDialogsTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
    test::WriteRunFile(m_dir.File("run.psh"), 5, 0x03, 300, "Tower 7");
    QVERIFY(m_document.Load(m_dir.File("run.psh")));
  }

  void GeneratorPresetsItsFieldsAndLimits() {
    CReportGenDlg dialog(QStringLiteral("Tower 7"), m_document, nullptr);
    // No printer: the caption stays.
    QCOMPARE(dialog.windowTitle(), Q(strings::GetText("IDD_REPORT", "CAPTION")));
    QCOMPARE(dialog.TitleField()->text(), QStringLiteral("Tower 7"));
    QVERIFY(QRegularExpression(QStringLiteral("^ \\d{4},\\d{2},\\d{2} (AM|PM) ([1-9]|1[0-2]):\\d{2}$"))
                .match(dialog.DateField()->text())
                .hasMatch());
    QCOMPARE(dialog.TitleField()->maxLength(), 60);
    QCOMPARE(dialog.DateField()->maxLength(), 50);
    QCOMPARE(dialog.EngineerField()->maxLength(), 30);
    QCOMPARE(dialog.SiteField()->maxLength(), 60);
    // The fields of several lines keep the first characters up to their limits.
    dialog.ResultField()->setPlainText(QString(650, QLatin1Char('a')) + QString(100, QLatin1Char('b')));
    QCOMPARE(dialog.ResultField()->toPlainText(),
             QString(650, QLatin1Char('a')) + QString(50, QLatin1Char('b')));
    dialog.PurposeField()->setPlainText(QString(199, QLatin1Char('p')) +
                                        QString::fromUtf8("\xF0\x9F\x93\xA1"));
    QCOMPARE(dialog.PurposeField()->toPlainText(), QString(199, QLatin1Char('p')));  // no half character
    QTest::keyClicks(dialog.RemarkField(), QString(210, QLatin1Char('r')));
    QCOMPARE(dialog.RemarkField()->toPlainText().size(), 200);
    dialog.EngineerField()->setText(QStringLiteral("M\u00fcller"));
    const ReportFields fields = dialog.Fields();
    QCOMPARE(Q(fields.engineer), QStringLiteral("M\u00fcller"));
    QCOMPARE(fields.result.size(), 700u);
    QVERIFY(report::FirstTooLong(fields) == nullptr);
  }

  void PrinterNamesTheTitleAndPrintSetupReplacesIt() {
    CReportGenDlg dialog(QStringLiteral("T"), m_document,
                         report_printing::PdfPrinter(m_dir.File("a.pdf").c_str()));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Chart - a.pdf"));
    int asked = 0;
    dialog.SetPrintSetup([&](QPrinter* current, QWidget*) -> std::unique_ptr<QPrinter> {
      ++asked;
      if (asked == 1) return nullptr;  // cancelled: nothing changes
      return report_printing::PdfPrinter(QString(current->outputFileName()).replace("a.pdf", "b.pdf"));
    });
    dialog.OnPrintSetup();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Chart - a.pdf"));
    dialog.OnPrintSetup();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Chart - b.pdf"));
    QVERIFY(dialog.Printer()->outputFileName().endsWith(QStringLiteral("b.pdf")));
  }

  void SaveAsPdfNeedsNoPrinter() {
    CReportGenDlg dialog(QStringLiteral("T"), m_document, nullptr);
    QString proposed;
    dialog.SetSavePathChooser([&](QWidget*, const SavePathRequest& request) {
      proposed = request.proposedName;
      return proposed == QStringLiteral("run.pdf") ? QString::fromStdString(m_dir.File("x.pdf")) : QString();
    });
    dialog.OnSavePdf();
    QCOMPARE(proposed, QStringLiteral("run.pdf"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Chosen(), CReportGenDlg::Output::Pdf);
    QCOMPARE(dialog.PdfPath(), QString::fromStdString(m_dir.File("x.pdf")));
  }

  void PreviewShowsTheOnePageWithoutAPrinter() {
    CReportGenDlg dialog(QStringLiteral("T"), m_document, nullptr);
    int pages = -1;
    QTimer::singleShot(0, &dialog, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (!preview) return;
      auto* widget = preview->findChild<QPrintPreviewWidget*>();
      QTRY_VERIFY(widget && widget->pageCount() > 0);
      pages = widget->pageCount();
      preview->reject();
    });
    dialog.OnPreview();
    QCOMPARE(pages, 1);
    QVERIFY(!dialog.Printer());  // the preview's page setup is not kept
  }

  void WithoutAPrinterThePrintDialogClosesAsCancelled() {
    CReportPrintDlg print(nullptr, m_document, SampleFields());
    QCOMPARE(print.exec(), int(QDialog::Rejected));
    QVERIFY(!print.Printed());
  }

  void PrintsThePageAsPdf() {
    const QString path = QString::fromStdString(m_dir.File("page.pdf"));
    auto printer = report_printing::PdfPrinter(path);
    CReportPrintDlg print(printer.get(), m_document, SampleFields());
    QCOMPARE(print.windowTitle(), Q(strings::GetText("IDD_PRINT", "CAPTION")));
    QCOMPARE(print.Progress()->maximum(), 1);
    QCOMPARE(print.exec(), int(QDialog::Accepted));
    QVERIFY(print.Printed());
    QCOMPARE(print.Progress()->value(), 1);
    const QString text = PdfText(path);
    for (const char* expected : {"MeasurementReport", "Feedercheck", "2026,03,07AM9:05", "Ada", "Mast4",
                                 "Purposetext", "Resulttext", "Remarktext", "Tower7"})
      QVERIFY2(text.contains(QLatin1String(expected)), expected);
  }

  void CancelStopsTheJobAndNothingIsPrinted() {
    const QString path = QString::fromStdString(m_dir.File("cancelled.pdf"));
    auto printer = report_printing::PdfPrinter(path);
    CReportPrintDlg print(printer.get(), m_document, SampleFields());
    std::atomic<bool> held{false};
    // The worker waits at its first step until the dialog asks it to stop.
    print.SetStepHook([&](const std::atomic<bool>& stop) {
      held = true;
      while (!stop) std::this_thread::yield();
    });
    QTimer::singleShot(0, &print, [&] {
      QTRY_VERIFY(held.load());
      print.reject();  // the Cancel button
    });
    QCOMPARE(print.exec(), int(QDialog::Rejected));
    QVERIFY(!print.Printed());
    QVERIFY(!QFile::exists(path));
  }

  void ReportCommandOfAHistoryWindowWritesThePdf() {
    CHistoryFrame frame;
    QVERIFY(frame.LoadHistory(QString::fromStdString(m_dir.File("run.psh"))));
    const QString pdf = QString::fromStdString(m_dir.File("from-window.pdf"));
    frame.View().SetSavePathChooser([&](QWidget*, const SavePathRequest&) { return pdf; });
    QString result(700, QLatin1Char(' '));
    for (int i = 0; i < result.size(); ++i)
      result[i] = i % 9 == 8 ? QLatin1Char(' ') : QLatin1Char('a' + i % 26);
    bool filled = false;
    QTimer::singleShot(0, &frame, [&] {
      auto* generator = qobject_cast<CReportGenDlg*>(QApplication::activeModalWidget());
      if (!generator) return;
      QCOMPARE(generator->TitleField()->text(), QStringLiteral("Tower 7"));
      generator->EngineerField()->setText(QStringLiteral("Grace"));
      generator->SiteField()->setText(QStringLiteral("Roof"));
      generator->PurposeField()->setPlainText(QStringLiteral("Acceptance"));
      generator->ResultField()->setPlainText(result);
      generator->RemarkField()->setPlainText(QStringLiteral("None"));
      filled = true;
      generator->OnSavePdf();
    });
    QVERIFY(frame.OnCommand(cmd::kReport));
    QVERIFY(filled);
    QVERIFY(QFile::exists(pdf));
    const QString text = PdfText(pdf);
    for (const char* expected : {"Tower7", "Grace", "Roof", "Acceptance", "None", "Result", "Remark"})
      QVERIFY2(text.contains(QLatin1String(expected)), expected);
    QVERIFY2(text.contains(Squeezed(result)), "the 700-character result is whole");
  }

  // Run by scripts/with-private-cups.sh: its default queue stores each job
  // in a file.
  void PrintsOnTheDefaultCupsPrinter() {
    const QString output = qEnvironmentVariable("WATTRIX_CUPS_OUTPUT");
    if (output.isEmpty()) QSKIP("needs the private CUPS server of scripts/with-private-cups.sh");
    CReportGenDlg generator(QStringLiteral("Tower 7"), m_document);
    QVERIFY(generator.Printer());
    QCOMPARE(generator.windowTitle(), QStringLiteral("Print Chart - wattrix-test"));
    const std::unique_ptr<QPrinter> printer = generator.TakePrinter();
    CReportPrintDlg print(printer.get(), m_document, SampleFields());
    QCOMPARE(print.exec(), int(QDialog::Accepted));
    QVERIFY(print.Printed());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output), 30000);
    QFile job(output);
    QVERIFY(job.open(QIODevice::ReadOnly));
    QVERIFY(job.read(5).startsWith("%PDF"));
    const QString text = PdfText(output);
    for (const char* expected : {"MeasurementReport", "Feedercheck", "Remarktext"})
      QVERIFY2(text.contains(QLatin1String(expected)), expected);
  }

 private:
  test::TempDir m_dir;
  HistoryDocument m_document;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::ReportDialogsTest)
#include "ReportDialogsTest.moc"
