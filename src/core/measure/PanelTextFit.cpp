#include "core/measure/PanelTextFit.h"

#include "core/measure/AnalogGauge.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace wattrix {

static_assert(kPanelMinGauge >= AnalogGauge::kMinimumSide, "a smaller gauge would be drawn cut");

namespace {

struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
};

class Fitter {
 public:
  Fitter(PanelGeometry& g, const PanelTexts& texts, const PanelTextMeasure& measure)
      : m_g(g), m_texts(texts), m_measure(measure) {
    for (int i = 0; i < kPanelItemCount; ++i)
      if (Shown(m_g, m_texts, i)) m_shown.push_back(i);
  }

  static bool Shown(const PanelGeometry& g, const PanelTexts& texts, int i) {
    return !g.items[static_cast<std::size_t>(i)].rect.IsEmpty() &&
           !texts[static_cast<std::size_t>(i)].empty();
  }

  PanelItemPlace& Item(int i) { return m_g.items[static_cast<std::size_t>(i)]; }

  // Widths are asked for again and again while fitting; measure each size once.
  double WidthOf(int i, int points) {
    auto& known = m_widths[static_cast<std::size_t>(i)];
    const auto found = known.find(points);
    if (found != known.end()) return found->second;
    const double width = m_measure.Width(points, m_texts[static_cast<std::size_t>(i)]);
    known.emplace(points, width);
    return width;
  }

  double HeightOf(int points) {
    const auto found = m_heights.find(points);
    if (found != m_heights.end()) return found->second;
    const double height = m_measure.LineHeight(points);
    m_heights.emplace(points, height);
    return height;
  }

  Box BoxOf(int i) {
    const PanelItemPlace& p = Item(i);
    const double width = WidthOf(i, p.points);
    return Box{static_cast<double>(p.rect.left), static_cast<double>(p.rect.top), p.rect.left + width,
               p.rect.top + HeightOf(p.points)};
  }

  bool GaugeShown() const { return m_g.gaugeVisible && !m_g.gauge.IsEmpty(); }

  // Where the text of `i` must end: before the gauge or the panel's edge,
  // and before a text to its right on the same line.
  double RightLimit(int i) {
    double limit = GaugeShown() ? m_g.gauge.left - kPanelTextGap : m_g.width - kPanelTextGap / 2.0;
    const Box a = BoxOf(i);
    for (const int j : m_shown) {
      if (j == i) continue;
      const Box b = BoxOf(j);
      const bool sameLine = b.top < a.bottom && a.top < b.bottom;
      if (sameLine && b.left > a.left) limit = std::min(limit, b.left - kPanelTextGap);
    }
    return limit;
  }

  // Shrinks texts that run too far right; true when all fit across.
  bool FitAcross() {
    bool all = true;
    for (const int i : m_shown) {
      PanelItemPlace& p = Item(i);
      while (BoxOf(i).right > RightLimit(i) && p.points > kPanelMinPoints) --p.points;
      if (BoxOf(i).right > RightLimit(i)) all = false;
    }
    return all;
  }

  // The gauge gives way to texts that are too wide at the smallest size.
  void MakeRoomBesideGauge() {
    if (!GaugeShown()) return;
    double needed = 0;
    for (const int i : m_shown) needed = std::max(needed, BoxOf(i).right);
    const int left = static_cast<int>(std::ceil(needed)) + kPanelTextGap;
    if (left <= m_g.gauge.left) return;
    const int room = m_g.width - left - kPanelTextGap / 2;
    const int side = std::min(room, m_g.height - 20);
    if (side < kPanelMinGauge) {
      m_g.gaugeVisible = false;
      return;
    }
    const int x = left + (room - side) / 2;
    const int y = (m_g.height - side) / 2;
    m_g.gauge = PanelRect{x, y, x + side, y + side};
  }

  // The fallback of a panel too small for its table: the table's rows in
  // reading order down the text column, a row's texts side by side where
  // they fit and on lines of their own where not; the largest texts give
  // way first until the lines fit the height.
  void Flow() {
    m_g.flowed = true;
    std::vector<int> order = m_shown;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
      const PanelRect& ra = Item(a).rect;
      const PanelRect& rb = Item(b).rect;
      return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    const int margin = kPanelTextGap;
    const double right = GaugeShown() ? m_g.gauge.left - kPanelTextGap : m_g.width - kPanelTextGap / 2.0;
    std::vector<int> tableTop(kPanelItemCount, 0);
    std::vector<int> tableLeft(kPanelItemCount, 0);
    for (const int i : order) {
      tableTop[static_cast<std::size_t>(i)] = Item(i).rect.top;
      tableLeft[static_cast<std::size_t>(i)] = Item(i).rect.left;
      while (margin + WidthOf(i, Item(i).points) > right && Item(i).points > kPanelMinPoints)
        --Item(i).points;
    }
    // Lines of texts: a table row stays on one line while it fits across.
    std::vector<std::vector<int>> lines;
    for (std::size_t k = 0; k < order.size(); ++k) {
      const int i = order[k];
      const bool sameRow =
          k > 0 && tableTop[static_cast<std::size_t>(i)] == tableTop[static_cast<std::size_t>(order[k - 1])];
      if (sameRow) {
        double x = margin;
        for (const int j : lines.back()) x += WidthOf(j, Item(j).points) + kPanelTextGap;
        x = std::max(x, static_cast<double>(tableLeft[static_cast<std::size_t>(i)]));
        if (x + WidthOf(i, Item(i).points) <= right) {
          lines.back().push_back(i);
          continue;
        }
      }
      lines.push_back({i});
    }
    const auto lineHeight = [this](const std::vector<int>& line) {
      double h = 0;
      for (const int i : line) h = std::max(h, std::ceil(HeightOf(Item(i).points)));
      return h;
    };
    const auto total = [&] {
      double sum = 0;
      for (const auto& line : lines) sum += lineHeight(line);
      return sum;
    };
    while (total() > m_g.height - 2 * margin) {
      int largest = -1;
      for (const int i : order)
        if (Item(i).points > kPanelMinPoints && (largest < 0 || Item(i).points > Item(largest).points))
          largest = i;
      if (largest < 0) break;
      --Item(largest).points;
    }
    // What height is left spreads between the lines.
    const double spare = std::max(0.0, m_g.height - 2 * margin - total());
    const double gap = lines.size() > 1 ? std::min(spare / static_cast<double>(lines.size() - 1), 12.0) : 0;
    double y = margin;
    for (const auto& line : lines) {
      double x = margin;
      for (std::size_t k = 0; k < line.size(); ++k) {
        const int i = line[k];
        PanelRect& r = Item(i).rect;
        // A line starts at the margin; a text beside another keeps its
        // table column where there is room for it.
        if (k > 0) x = std::max(x, static_cast<double>(tableLeft[static_cast<std::size_t>(i)]));
        r.left = static_cast<int>(std::ceil(x));
        r.top = static_cast<int>(std::floor(y));
        r.right = std::max(r.right, r.left + 1);
        r.bottom = std::max(r.bottom, r.top + 1);
        x = r.left + WidthOf(i, Item(i).points) + kPanelTextGap;
      }
      y += lineHeight(line) + gap;
    }
  }

  // Lines that would run into the line below get smaller; at the smallest
  // size the lines below move down instead.
  void FitDown() {
    std::vector<int> order = m_shown;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return Item(a).rect.top < Item(b).rect.top; });
    for (std::size_t k = 0; k < order.size(); ++k) {
      const int i = order[k];
      for (std::size_t m = k + 1; m < order.size(); ++m) {
        const int j = order[m];
        const Box a = BoxOf(i);
        const Box b = BoxOf(j);
        const bool sameColumn = a.left < b.right && b.left < a.right;
        if (!sameColumn || Item(j).rect.top <= Item(i).rect.top) continue;
        PanelItemPlace& upper = Item(i);
        while (BoxOf(i).bottom > Item(j).rect.top && upper.points > kPanelMinPoints) --upper.points;
        const int bottom = static_cast<int>(std::ceil(BoxOf(i).bottom));
        if (bottom > Item(j).rect.top) {
          PanelRect& r = Item(j).rect;
          const int shift = bottom - r.top;
          r.top += shift;
          r.bottom = std::max(r.bottom, r.top + 1);
        }
      }
    }
  }

 private:
  PanelGeometry& m_g;
  const PanelTexts& m_texts;
  const PanelTextMeasure& m_measure;
  std::vector<int> m_shown;
  std::array<std::map<int, double>, kPanelItemCount> m_widths{};
  std::map<int, double> m_heights;
};

}  // namespace

PanelGeometry FitPanel(const PanelLayoutInput& input, const PanelTexts& texts,
                       const PanelTextMeasure& measure, const PanelGeometry* previous) {
  PanelGeometry g = LayOutPanelSized(input, input.clientWidth, input.clientHeight);
  if (g.gaugeVisible && g.gauge.Width() < kPanelMinGauge) {
    g = LayOutPanelSized(input, input.clientWidth, input.clientHeight, input.clientWidth);
    g.gaugeVisible = false;
  }
  const bool samePlace = previous && previous->width == g.width && previous->height == g.height;
  for (std::size_t i = 0; i < g.items.size(); ++i) {
    int points = std::clamp(g.items[i].points, kPanelMinPoints, kPanelMaxPoints);
    if (samePlace) points = std::min(points, std::max(previous->items[i].points, kPanelMinPoints));
    g.items[i].points = points;
  }
  if (samePlace) {
    // The gauge stays where the last fit put it; texts only get smaller.
    g.gauge = previous->gauge;
    g.gaugeVisible = previous->gaugeVisible;
  }
  Fitter fitter(g, texts, measure);
  if (samePlace && previous->flowed) {
    fitter.Flow();
    return g;
  }
  if (!fitter.FitAcross()) {
    fitter.MakeRoomBesideGauge();
    fitter.FitAcross();
  }
  fitter.FitDown();
  if (!PanelTextsFit(g, texts, measure)) fitter.Flow();
  return g;
}

bool PanelTextsFit(const PanelGeometry& g, const PanelTexts& texts, const PanelTextMeasure& measure) {
  std::vector<Box> boxes;
  for (int i = 0; i < kPanelItemCount; ++i) {
    if (!Fitter::Shown(g, texts, i)) continue;
    const PanelItemPlace& p = g.items[static_cast<std::size_t>(i)];
    const Box b{static_cast<double>(p.rect.left), static_cast<double>(p.rect.top),
                p.rect.left + measure.Width(p.points, texts[static_cast<std::size_t>(i)]),
                p.rect.top + measure.LineHeight(p.points)};
    if (b.left < 0 || b.top < 0 || b.right > g.width || b.bottom > g.height) return false;
    if (g.gaugeVisible && !g.gauge.IsEmpty() && b.right > g.gauge.left && b.left < g.gauge.right &&
        b.bottom > g.gauge.top && b.top < g.gauge.bottom)
      return false;
    for (const Box& o : boxes)
      if (b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom) return false;
    boxes.push_back(b);
  }
  return true;
}

}  // namespace wattrix
