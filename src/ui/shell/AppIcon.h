#pragma once

#include <QIcon>

namespace wattrix {

// The application icon in every size it ships in.
inline QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/png/wattrix-%1.png").arg(size));
  return icon;
}

}  // namespace wattrix
