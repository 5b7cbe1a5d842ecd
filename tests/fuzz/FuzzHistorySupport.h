#pragma once

#include "core/platform/Canvas.h"

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace wattrix::fuzz {

// The bytes of one input as a file, since the readers read paths.
inline std::string WriteInput(const char* name, const std::uint8_t* data, std::size_t size) {
  static const std::string dir = [] {
    char pattern[] = "/tmp/wattrix-fuzz-history-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  const std::string path = dir + "/" + name;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

// A canvas that draws nothing, for running the graph engine on any data.
class NullCanvas final : public Canvas {
 public:
  int DpiY() const override { return 96; }
  void SetAntialiasing(bool) override {}
  void DrawLine(PointF, PointF, const Pen&) override {}
  void DrawPolyline(std::span<const PointF> points, const Pen&) override { m_vertices += points.size(); }
  void FillRect(const RectF&, const Brush&) override {}
  void DrawRect(const RectF&, const Pen&) override {}
  void FillEllipse(const RectF&, const Brush&) override {}
  void DrawEllipse(const RectF&, const Pen&) override {}
  void DrawArc(const RectF&, double, double, const Pen&) override {}
  void FillPolygon(std::span<const PointF>, const Brush&) override {}
  void DrawPolygon(std::span<const PointF>, const Pen&) override {}
  void DrawText(const std::string&, PointF, const Font&, Argb) override {}
  void DrawTextInBox(const std::string&, const RectF&, const Font&, Argb, const TextFormat&) override {}
  SizeF MeasureText(const std::string& text, const Font& font) override {
    return SizeF{0.5 * font.pixelHeight * static_cast<double>(text.size()), 1.2 * font.pixelHeight};
  }
  FontMetrics Metrics(const Font& font) override {
    return FontMetrics{1.2 * font.pixelHeight, 0.5 * font.pixelHeight, font.pixelHeight};
  }
  void SetClip(const RectF&) override {}
  void ResetClip() override {}

  std::size_t Vertices() const { return m_vertices; }

 private:
  std::size_t m_vertices = 0;
};

}  // namespace wattrix::fuzz
