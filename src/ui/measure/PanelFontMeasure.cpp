#include "ui/measure/PanelFontMeasure.h"

#include "ui/platform/FontCache.h"

#include <QFontMetricsF>
#include <QString>

namespace wattrix {

double PanelFontMeasure::Width(int points, const std::string& text) const {
  const QFontMetricsF metrics(FontCache::Instance().Get(points));
  return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double PanelFontMeasure::LineHeight(int points) const {
  return QFontMetricsF(FontCache::Instance().Get(points)).height();
}

}  // namespace wattrix
