#pragma once

#include "core/report/ReportFields.h"
#include "ui/history/SavePathDialog.h"

#include <QDialog>
#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class QLineEdit;

namespace wattrix {

class HistoryDocument;
class LimitedTextEdit;

// The report generator: the seven report fields with their input limits,
// the printer (the system's default at first, replaced by Print Setup),
// and the ways out: Print, Save as PDF (no printer needed), a preview of
// the page, Cancel. The window title names the printer: "Print Chart - %s".
class CReportGenDlg final : public QDialog {
  Q_OBJECT

 public:
  enum class Output { Printer, Pdf };
  // Shows the standard print-setup dialog for a printer (a new one when
  // there is none); the chosen printer, or null when cancelled.
  using PrintSetup = std::function<std::unique_ptr<QPrinter>(QPrinter* current, QWidget* parent)>;

  // With the system's default printer.
  CReportGenDlg(const QString& title, const HistoryDocument& document, QWidget* parent = nullptr);
  // With a given printer (null: none).
  CReportGenDlg(const QString& title, const HistoryDocument& document, std::unique_ptr<QPrinter> printer,
                QWidget* parent = nullptr);
  ~CReportGenDlg() override;

  // The fields as typed.
  ReportFields Fields() const;
  Output Chosen() const { return m_output; }
  // The PDF file chosen with Save as PDF.
  const QString& PdfPath() const { return m_pdfPath; }
  QPrinter* Printer() const { return m_printer.get(); }
  std::unique_ptr<QPrinter> TakePrinter() { return std::move(m_printer); }

  void SetPrintSetup(PrintSetup setup) { m_printSetup = std::move(setup); }
  void SetSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }

  QLineEdit* TitleField() const { return m_title; }
  QLineEdit* DateField() const { return m_date; }
  QLineEdit* EngineerField() const { return m_engineer; }
  QLineEdit* SiteField() const { return m_site; }
  LimitedTextEdit* PurposeField() const { return m_purpose; }
  LimitedTextEdit* ResultField() const { return m_result; }
  LimitedTextEdit* RemarkField() const { return m_remark; }

  // Print Setup, Save as PDF and Preview.
  void OnPrintSetup();
  void OnSavePdf();
  void OnPreview();

 private:
  void BuildLayout();
  void ShowPrinterTitle();

  const HistoryDocument& m_document;
  std::unique_ptr<QPrinter> m_printer;
  PrintSetup m_printSetup;
  SavePathChooser m_choosePath;
  Output m_output = Output::Printer;
  QString m_pdfPath;
  QLineEdit* m_title;
  QLineEdit* m_date;
  QLineEdit* m_engineer;
  QLineEdit* m_site;
  LimitedTextEdit* m_purpose;
  LimitedTextEdit* m_result;
  LimitedTextEdit* m_remark;
};

}  // namespace wattrix
