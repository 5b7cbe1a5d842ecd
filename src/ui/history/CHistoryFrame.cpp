#include "ui/history/CHistoryFrame.h"

#include "core/shell/MenuLayout.h"
#include "ui/history/CHistoryView.h"
#include "ui/shell/MenuBuilder.h"

#include <QMenu>
#include <QVBoxLayout>

namespace wattrix {

CHistoryFrame::CHistoryFrame(QWidget* parent) : ChildFrame(parent), m_view(new CHistoryView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_view);
  m_menus = std::make_unique<MenuBuilder>([this](int id) { OnCommand(id); },
                                          [this](int id) {
                                            CommandState state;
                                            UpdateCommand(id, state);
                                            return state;
                                          });
  m_popup = m_menus->BuildPopup(menu::MenuKind::HistoryPopup, this);
  m_view->SetContextMenu(m_popup);
}

CHistoryFrame::~CHistoryFrame() = default;

bool CHistoryFrame::LoadHistory(const QString& path) { return m_view->LoadHistory(path); }

QString CHistoryFrame::ModelName() const {
  return QString::fromStdString(m_view->Document().Header().ModelName());
}

QString CHistoryFrame::HistoryTitle() const {
  return QStringLiteral("%1, %2").arg(m_view->LoadedPath(), ModelName());
}

bool CHistoryFrame::OnCommand(int id) { return m_view->OnCommand(id); }

bool CHistoryFrame::UpdateCommand(int id, CommandState& state) { return m_view->UpdateCommand(id, state); }

}  // namespace wattrix
