#include "ui/measure/CModeFrame.h"

#include "ui/measure/CModeView.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace wattrix {

CModeFrame::CModeFrame(CModeView* view, QWidget* parent) : ChildFrame(parent), m_view(view) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_view);
  setFocusProxy(m_view);
}

void CModeFrame::StopForClose() { m_view->StopForClose(); }

void CModeFrame::PrepareForModel(int /*modelCode*/) {
  // The logic reads the model from the settings record the main frame set.
  m_view->Reinitialise();
}

Quantity CModeFrame::CurrentQuantity() const { return m_view->Session().SelectedQuantity(); }

void CModeFrame::ApplySettings() { m_view->ApplySettings(); }

bool CModeFrame::ReleaseRun(const char* key) { return m_view->Session().ReleaseRun(key); }

void CModeFrame::HistoriesReplaced() { m_view->Session().HistoriesReplaced(); }

bool CModeFrame::OnCommand(int id) { return m_view->OnCommand(id); }

bool CModeFrame::UpdateCommand(int id, CommandState& state) { return m_view->UpdateCommand(id, state); }

bool CModeFrame::QueryClose() {
  if (!m_closeAgreed) m_closeAgreed = m_view->QueryClose();
  return m_closeAgreed;
}

void CModeFrame::SensorLineLost(bool lost) { m_view->ShowSensorLost(lost); }

void CModeFrame::closeEvent(QCloseEvent* event) {
  // The window's own close button asks here; the main frame's close
  // command has asked already.
  if (!QueryClose()) {
    event->ignore();
    return;
  }
  m_view->StopForClose();
  ChildFrame::closeEvent(event);
}

}  // namespace wattrix
