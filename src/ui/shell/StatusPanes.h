#pragma once

#include <QObject>
#include <QString>

#include <array>

class QLabel;
class QStatusBar;

namespace wattrix {

// The status bar's two text panes. They share the bar two thirds to one
// third, but a text never ends cut: a pane whose text needs more room takes
// it from the other, and when both cannot be had on one line the panes
// wrap their texts and the bar grows a line (StatusPaneFit).
class StatusPanes final : public QObject {
  Q_OBJECT

 public:
  explicit StatusPanes(QStatusBar& bar);

  void SetText(int pane, const QString& text);
  QString Text(int pane) const;
  QLabel& Pane(int pane) const { return *m_panes[static_cast<std::size_t>(pane)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fit();
  void FitHeights();

  QStatusBar& m_bar;
  std::array<QLabel*, 2> m_panes{};
  std::array<int, 2> m_targets{};  // the widths Fit gave the panes
  bool m_fitting = false;
};

}  // namespace wattrix
