#pragma once

#include <QProxyStyle>

namespace wattrix {

// The application's look on every desktop: Fusion, message-box icons of
// our own icon set (a bare system has no icon theme), and dialog buttons
// without icons.
class WattrixStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  WattrixStyle();

  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace wattrix
