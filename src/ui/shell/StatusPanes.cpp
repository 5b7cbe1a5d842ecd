#include "ui/shell/StatusPanes.h"

#include "core/shell/StatusPaneFit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>

namespace wattrix {

namespace {

constexpr int kMargin = 4;  // each side of a pane's text

// What a pane needs to show its text on one line.
int NeedOf(const QLabel& pane) {
  if (pane.text().isEmpty()) return 0;
  return QFontMetrics(pane.font()).horizontalAdvance(pane.text()) + 2 * kMargin + 2;
}

// A pane whose preferred height is what its text needs at its width: the
// status bar takes its height from its panes' size hints.
class PaneLabel final : public QLabel {
 public:
  explicit PaneLabel(QWidget* parent) : QLabel(parent) {}
  void SetNeededHeight(int height) {
    if (height == m_height) return;
    m_height = height;
    updateGeometry();
  }
  QSize sizeHint() const override { return QSize(QLabel::sizeHint().width(), m_height); }
  QSize minimumSizeHint() const override { return QSize(1, m_height); }
  // The height is worked out for the pane's share of the bar (Fit), not by
  // the label for whatever width a layout asks about.
  bool hasHeightForWidth() const override { return false; }
  int heightForWidth(int /*width*/) const override { return m_height; }

 private:
  int m_height = 0;
};

}  // namespace

StatusPanes::StatusPanes(QStatusBar& bar) : QObject(&bar), m_bar(bar) {
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    auto* pane = new PaneLabel(&bar);
    pane->setObjectName(QStringLiteral("StatusPane%1").arg(i));
    pane->setMinimumWidth(1);
    pane->setContentsMargins(kMargin, 0, kMargin, 0);
    pane->setWordWrap(true);
    pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The share of the width goes by the size policy's stretch, set by Fit;
    // a fixed width would keep the window from being made narrower.
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHorizontalStretch(i == 0 ? 2 : 1);
    pane->setSizePolicy(policy);
    bar.addWidget(pane);
    pane->installEventFilter(this);
    m_panes[i] = pane;
  }
  bar.installEventFilter(this);
}

void StatusPanes::SetText(int pane, const QString& text) {
  if (pane < 0 || pane > 1) return;
  QLabel& label = Pane(pane);
  if (label.text() == text) return;
  label.setText(text);
  // A long text shows as a tooltip too, for copying it out.
  label.setToolTip(text);
  Fit();
}

QString StatusPanes::Text(int pane) const { return pane >= 0 && pane <= 1 ? Pane(pane).text() : QString(); }

bool StatusPanes::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == &m_bar) {
      Fit();
    } else {
      FitHeights();
    }
  }
  return QObject::eventFilter(watched, event);
}

void StatusPanes::Fit() {
  if (m_fitting) return;
  m_fitting = true;
  // What the bar leaves for the panes: its width less the size grip and
  // the layout's spacing.
  const int grip = m_bar.isSizeGripEnabled() ? m_bar.style()->pixelMetric(QStyle::PM_SizeGripSize) : 0;
  const int total = qMax(0, m_bar.contentsRect().width() - grip - 16);
  const StatusPaneWidths widths = FitStatusPanes(total, NeedOf(Pane(0)), NeedOf(Pane(1)));
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    QLabel& label = *m_panes[i];
    const int width = i == 0 ? widths.first : widths.second;
    QSizePolicy policy = label.sizePolicy();
    policy.setHorizontalStretch(total > 0 ? qBound(1, width * 255 / total, 255) : 1);
    label.setSizePolicy(policy);
    m_targets[i] = width;
  }
  FitHeights();
  m_fitting = false;
}

void StatusPanes::FitHeights() {
  // The lines a text needs at the width its pane has (or is about to get).
  int height = QFontMetrics(Pane(0).font()).height();
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    const QLabel& label = *m_panes[i];
    const int width = label.width() > 1 ? label.contentsRect().width() : m_targets[i] - 2 * kMargin;
    const QRect needed =
        QFontMetrics(label.font())
            .boundingRect(QRect(0, 0, qMax(width, 1), 100000), Qt::TextWordWrap, label.text());
    height = qMax(height, needed.height());
  }
  for (QLabel* label : m_panes) static_cast<PaneLabel*>(label)->SetNeededHeight(height);
}

}  // namespace wattrix
