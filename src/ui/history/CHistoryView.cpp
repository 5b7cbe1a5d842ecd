#include "ui/history/CHistoryView.h"

#include "core/history/BitmapFile.h"
#include "core/platform/MessageBoxes.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/history/CChangeTitleDlg.h"
#include "ui/history/CDlg_AutoScale.h"
#include "ui/history/WaitCursor.h"
#include "ui/report/ReportFlow.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QVBoxLayout>

#include <optional>
#include <vector>

namespace wattrix {

namespace {

std::optional<HistoryCommand> QuantityCommand(int id) {
  switch (id) {
    case cmd::kViewAvg:
      return HistoryCommand::Avg;
    case cmd::kViewRev:
      return HistoryCommand::Rev;
    case cmd::kViewPeak:
      return HistoryCommand::Peak;
    case cmd::kViewPulse:
      return HistoryCommand::Pulse;
    case cmd::kViewVswr:
      return HistoryCommand::Vswr;
    case cmd::kViewReturnLoss:
      return HistoryCommand::ReturnLoss;
    case cmd::kViewPar:
      return HistoryCommand::Par;
    default:
      return std::nullopt;
  }
}

// File names are bytes on this system; Qt's encoding of them is the one
// the file dialogs decoded with.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

CHistoryView::CHistoryView(QWidget* parent)
    : QFrame(parent), m_graph(new CGraphCtrl(this)), m_choosePath(&file_dialog::AskSavePath) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  // The graph covers the whole client area; nothing is painted beneath it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_graph);
  connect(m_graph, &CGraphCtrl::Pressed, this, &CHistoryView::OnGraphPressed);
}

CHistoryView::~CHistoryView() = default;

bool CHistoryView::LoadHistory(const QString& path) {
  if (path.isEmpty() || !m_document.Load(NativePath(path))) return false;
  m_loadedPath = path;
  ShowDocument();
  return true;
}

void CHistoryView::ShowDocument() {
  if (!m_graph->ShowDocument(m_document)) {
    // A history without points still shows its labels and scale.
    m_graph->Redraw();
  }
}

bool CHistoryView::OnCommand(int id) {
  if (!m_document.IsLoaded()) return false;
  if (const auto quantity = QuantityCommand(id)) {
    ShowQuantity(*quantity);
    return true;
  }
  switch (id) {
    case cmd::kFileSave:
      Save();
      return true;
    case cmd::kFileSaveAs:
      SaveAs();
      return true;
    case cmd::kExportCsv:
      ExportCsv();
      return true;
    case cmd::kExportBitmap:
      ExportBitmap();
      return true;
    case cmd::kChangeTitle:
      ChangeTitle();
      return true;
    case cmd::kChangeScale:
      ChangeScale();
      return true;
    case cmd::kReport:
      RunReportFlow(m_document, this, m_choosePath);
      return true;
    default:
      return false;
  }
}

bool CHistoryView::UpdateCommand(int id, CommandState& state) {
  const bool loaded = m_document.IsLoaded();
  if (const auto quantity = QuantityCommand(id)) {
    state = loaded ? m_document.StateOf(*quantity) : CommandState{};
    return true;
  }
  switch (id) {
    case cmd::kFileSave:
      state = loaded ? m_document.StateOf(HistoryCommand::Save) : CommandState{};
      return true;
    case cmd::kFileSaveAs:
    case cmd::kExportCsv:
    case cmd::kExportBitmap:
    case cmd::kChangeTitle:
    case cmd::kChangeScale:
    case cmd::kReport:
      state = CommandState{loaded, false};
      return true;
    default:
      return false;
  }
}

void CHistoryView::Save() {
  HistoryDocument::SaveResult result;
  {
    WaitCursor wait;
    result = m_document.Save();
  }
  if (result == HistoryDocument::SaveResult::Failed) ShowError("S_HISTORYVIEW_ONFILESAVE");
}

void CHistoryView::SaveAs() {
  const QString path = AskPath(file_dialog::kPshFilter, QStringLiteral("psh"));
  if (path.isEmpty()) return;
  bool saved;
  {
    WaitCursor wait;
    saved = m_document.SaveAs(NativePath(path));
  }
  if (!saved) ShowError("S_HISTORYVIEW_ONFILESAVEAS");
}

void CHistoryView::ExportCsv() {
  const QString path = AskPath(file_dialog::kCsvFilter, QStringLiteral("csv"));
  if (path.isEmpty()) return;
  bool written;
  {
    WaitCursor wait;
    written = m_document.ExportCsv(NativePath(path));
  }
  if (!written) ShowError("S_HISTORYVIEW_ONEXPORTTOCSV");
}

void CHistoryView::ExportBitmap() {
  const QString path = AskPath(file_dialog::kBitmapFilter, QStringLiteral("bmp"));
  if (path.isEmpty()) return;
  bool written;
  {
    WaitCursor wait;
    const QImage image = m_graph->RenderClient();
    const int w = image.width();
    const int h = image.height();
    // One 32-bit pixel per column and no padding between rows.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
      std::copy(row, row + w, pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
    }
    written = WriteBitmapFile(NativePath(path), RenderedImage{w, h, pixels});
  }
  if (!written) ShowError("S_HISTORYVIEW_ONEXPORTTOJPG");
}

void CHistoryView::ChangeTitle() {
  CChangeTitleDlg dialog(QString::fromStdString(m_document.Title()), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (m_document.ChangeTitle(dialog.Title().toStdString())) ShowDocument();
}

void CHistoryView::ChangeScale() {
  CDlg_AutoScale dialog(m_document.ProposedScale(), this);
  if (dialog.exec() == QDialog::Accepted) m_document.ChangeScale(dialog.Top(), dialog.Bottom());
  ShowDocument();
}

void CHistoryView::ShowQuantity(HistoryCommand command) {
  if (!m_document.StateOf(command).enabled) return;
  const auto choice = QuantityOfCommand(command);
  if (!choice) return;
  m_document.ShowQuantity(choice->quantity, choice->returnLoss);
  ShowDocument();
}

QString CHistoryView::AskPath(const QString& filter, const QString& suffix) {
  const QString base = QFileInfo(m_loadedPath).completeBaseName();
  const QString proposed = base.isEmpty() ? QString() : base + QLatin1Char('.') + suffix;
  return m_choosePath ? m_choosePath(this, SavePathRequest{filter, suffix, proposed}) : QString();
}

void CHistoryView::ShowError(const char* key) {
  strings::MessageBoxKey(static_cast<QWidget*>(this), key, mb::kIconError | mb::kOk);
}

void CHistoryView::OnGraphPressed(Qt::MouseButton button, QPoint pos) {
  if (button != Qt::RightButton || !m_contextMenu) return;
  m_contextMenu->popup(mapToGlobal(pos));
}

}  // namespace wattrix
