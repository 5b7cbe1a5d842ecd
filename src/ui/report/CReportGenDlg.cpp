#include "ui/report/CReportGenDlg.h"

#include "core/history/HistoryDocument.h"
#include "core/report/HistoryReport.h"
#include "core/report/RecordedPage.h"
#include "core/strings/StringTable.h"
#include "ui/report/LimitedTextEdit.h"
#include "ui/report/ReportPrinting.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_REPORT";
const QString kPdfFilter = QStringLiteral("PDF files (*.pdf);;All files (*)");

QString Text(const char* key) { return QString::fromStdString(strings::GetText(kSection, key)); }

int LimitOf(std::string ReportFields::*member) {
  for (const auto& field : report::kFields) {
    if (field.member == member) return static_cast<int>(field.limit);
  }
  return 0;
}

QLineEdit* LineField(std::string ReportFields::*member, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(LimitOf(member));
  return field;
}

std::unique_ptr<QPrinter> StandardPrintSetup(QPrinter* current, QWidget* parent) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (current && current->outputFormat() == QPrinter::NativeFormat)
    printer->setPrinterName(current->printerName());
  QPrintDialog dialog(printer.get(), parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  return printer;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

CReportGenDlg::CReportGenDlg(const QString& title, const HistoryDocument& document, QWidget* parent)
    : CReportGenDlg(title, document, report_printing::DefaultPrinter(), parent) {}

CReportGenDlg::CReportGenDlg(const QString& title, const HistoryDocument& document,
                             std::unique_ptr<QPrinter> printer, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_printer(std::move(printer)),
      m_printSetup(&StandardPrintSetup),
      m_choosePath(&file_dialog::AskSavePath),
      m_title(LineField(&ReportFields::title, this)),
      m_date(LineField(&ReportFields::date, this)),
      m_engineer(LineField(&ReportFields::engineer, this)),
      m_site(LineField(&ReportFields::site, this)),
      m_purpose(new LimitedTextEdit(LimitOf(&ReportFields::purpose), this)),
      m_result(new LimitedTextEdit(LimitOf(&ReportFields::result), this)),
      m_remark(new LimitedTextEdit(LimitOf(&ReportFields::remark), this)) {
  setWindowTitle(Text("CAPTION"));
  BuildLayout();
  m_title->setText(title);
  m_date->setText(QString::fromStdString(report::CurrentReportDate()));
  ShowPrinterTitle();
  m_title->setFocus();
  m_title->selectAll();
}

CReportGenDlg::~CReportGenDlg() = default;

void CReportGenDlg::BuildLayout() {
  auto* grid = new QGridLayout;
  int row = 0;
  const auto add = [&](const char* key, QWidget* field) {
    auto* label = new QLabel(Text(key), this);
    label->setBuddy(field);
    // Labels of the fields of several lines stand at their first line.
    const bool severalLines = qobject_cast<LimitedTextEdit*>(field) != nullptr;
    grid->addWidget(label, row, 0, severalLines ? Qt::AlignTop : Qt::AlignVCenter);
    grid->addWidget(field, row++, 1);
  };
  add("IDC_STATIC_TITLE", m_title);
  add("IDC_STATIC_DATE", m_date);
  add("IDC_STATIC_ENGIN", m_engineer);
  add("IDC_STATIC_SITE", m_site);
  add("IDC_STATIC_TEST", m_purpose);
  add("IDC_STATIC_RESULT", m_result);
  add("IDC_STATIC_REMARK", m_remark);
  const int lineHeight = fontMetrics().lineSpacing();
  m_purpose->setFixedHeight(lineHeight * 4);
  m_result->setMinimumHeight(lineHeight * 8);
  m_remark->setFixedHeight(lineHeight * 4);
  m_title->setMinimumWidth(fontMetrics().averageCharWidth() * 64);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* print = buttons->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(Text("IDCANCEL"), QDialogButtonBox::RejectRole);
  QPushButton* setup = buttons->addButton(Text("IDC_PRINT_SETUP"), QDialogButtonBox::ActionRole);
  QPushButton* preview = buttons->addButton(Text("IDC_PREVIEW"), QDialogButtonBox::ActionRole);
  QPushButton* pdf = buttons->addButton(Text("IDC_SAVE_PDF"), QDialogButtonBox::ActionRole);
  print->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    m_output = Output::Printer;
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &CReportGenDlg::reject);
  connect(setup, &QPushButton::clicked, this, &CReportGenDlg::OnPrintSetup);
  connect(preview, &QPushButton::clicked, this, &CReportGenDlg::OnPreview);
  connect(pdf, &QPushButton::clicked, this, &CReportGenDlg::OnSavePdf);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CReportGenDlg::ShowPrinterTitle() {
  if (!m_printer) return;
  setWindowTitle(QStringLiteral("Print Chart - %1").arg(report_printing::PrinterName(*m_printer)));
}

ReportFields CReportGenDlg::Fields() const {
  return ReportFields{Utf8(m_title->text()),          Utf8(m_date->text()),
                      Utf8(m_engineer->text()),       Utf8(m_site->text()),
                      Utf8(m_purpose->toPlainText()), Utf8(m_result->toPlainText()),
                      Utf8(m_remark->toPlainText())};
}

void CReportGenDlg::OnPrintSetup() {
  if (!m_printSetup) return;
  auto chosen = m_printSetup(m_printer.get(), this);
  if (!chosen) return;
  m_printer = std::move(chosen);
  ShowPrinterTitle();
}

void CReportGenDlg::OnSavePdf() {
  // Proposed beside the history, under its name.
  QString base = QFileInfo(QString::fromStdString(m_document.Path())).completeBaseName();
  if (base.isEmpty()) base = QStringLiteral("report");
  const SavePathRequest request{kPdfFilter, QStringLiteral("pdf"), base + QStringLiteral(".pdf")};
  const QString path = m_choosePath ? m_choosePath(this, request) : QString();
  if (path.isEmpty()) return;
  m_pdfPath = path;
  m_output = Output::Pdf;
  accept();
}

void CReportGenDlg::OnPreview() {
  // Without a printer the page shows as the PDF would have it.
  std::unique_ptr<QPrinter> pdf;
  QPrinter* printer = m_printer.get();
  if (!printer) {
    pdf = report_printing::PdfPrinter(QString());
    printer = pdf.get();
  }
  QPrintPreviewDialog preview(printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    const PrintGeometry geometry = report_printing::GeometryOf(*target);
    RecordedPage page(geometry.dpi);
    DrawHistoryReport(page, geometry.printable, Fields(), m_document);
    report_printing::PrintPage(page, *target);
  });
  preview.exec();
}

}  // namespace wattrix
