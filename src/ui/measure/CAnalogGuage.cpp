#include "ui/measure/CAnalogGuage.h"

#include "ui/measure/MouseForwarding.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace wattrix {

CAnalogGuage::CAnalogGuage(QWidget* parent, std::unique_ptr<AnalogGauge> dial)
    : QWidget(parent), m_dial(dial ? std::move(dial) : std::make_unique<AnalogGauge>()) {
  // Every pixel comes from the dial image: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  m_dial->SetSize(width(), height());
}

CAnalogGuage::~CAnalogGuage() = default;

void CAnalogGuage::SetValue(double x) {
  m_dial->SetValue(x);
  update();
}

void CAnalogGuage::SetMinimum(double x) {
  m_dial->SetMinimum(x);
  update();
}

void CAnalogGuage::SetMaximum(double x) {
  m_dial->SetMaximum(x);
  update();
}

void CAnalogGuage::SetBackground(Argb colour) {
  m_dial->SetBackground(colour);
  update();
}

void CAnalogGuage::SetUnitText(std::string text) { m_dial->SetUnitText(std::move(text)); }

void CAnalogGuage::ClearThresholds() {
  m_dial->ClearThresholds();
  update();
}

void CAnalogGuage::AddThreshold(double start, double end, Argb colour) {
  m_dial->AddThreshold(start, end, colour);
  update();
}

bool CAnalogGuage::Fit(QImage& image) const {
  const double ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::ceil(m_dial->Width() * ratio)),
                     static_cast<int>(std::ceil(m_dial->Height() * ratio)));
  if (image.size() != pixels || image.devicePixelRatio() != ratio) {
    image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return true;
  }
  return false;
}

void CAnalogGuage::RenderInto(QImage& image) const {
  Fit(image);
  QPainter painter(&image);
  // The dial's point sizes are those of a 96-dpi surface.
  QtCanvas canvas(painter, 96);
  m_dial->Paint(canvas);
}

QImage CAnalogGuage::Render() const {
  QImage image;
  RenderInto(image);
  return image;
}

void CAnalogGuage::paintEvent(QPaintEvent* /*event*/) {
  if (Fit(m_face) || m_faceRevision != m_dial->DialRevision()) {
    QPainter painter(&m_face);
    QtCanvas canvas(painter, 96);
    m_dial->PaintFace(canvas);
    m_faceRevision = m_dial->DialRevision();
  }
  Fit(m_image);
  {
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), m_face);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QtCanvas canvas(painter, 96);
    m_dial->PaintNeedle(canvas);
  }
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), m_image);
}

void CAnalogGuage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_dial->SetSize(width(), height());
  update();
}

void CAnalogGuage::mousePressEvent(QMouseEvent* event) {
  // Only the forwarded clicks reach the view; others end here.
  ForwardMouseToParent(*this, *event);
  event->accept();
}

void CAnalogGuage::mouseDoubleClickEvent(QMouseEvent* event) {
  ForwardMouseToParent(*this, *event);
  event->accept();
}

}  // namespace wattrix
