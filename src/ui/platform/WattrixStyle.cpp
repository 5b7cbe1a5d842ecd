#include "ui/platform/WattrixStyle.h"

#include <QIcon>
#include <QStyleFactory>

namespace wattrix {

WattrixStyle::WattrixStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int WattrixStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon WattrixStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
  const char* name = nullptr;
  switch (icon) {
    case SP_MessageBoxInformation:
      name = "information";
      break;
    case SP_MessageBoxWarning:
      name = "warning";
      break;
    case SP_MessageBoxCritical:
      name = "error";
      break;
    case SP_MessageBoxQuestion:
      name = "question";
      break;
    default:
      return QProxyStyle::standardIcon(icon, option, widget);
  }
  return QIcon(QStringLiteral(":/icons/boxpng/%1.png").arg(QString::fromLatin1(name)));
}

}  // namespace wattrix
