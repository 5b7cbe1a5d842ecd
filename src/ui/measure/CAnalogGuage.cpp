#include "ui/measure/CAnalogGuage.h"

#include "ui/measure/MouseForwarding.h"
#include "ui/platform/FramePacer.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
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
  DialUpdated();
}

void CAnalogGuage::SetMinimum(double x) {
  m_dial->SetMinimum(x);
  DialUpdated();
}

void CAnalogGuage::SetMaximum(double x) {
  m_dial->SetMaximum(x);
  DialUpdated();
}

void CAnalogGuage::SetBackground(Argb colour) {
  m_dial->SetBackground(colour);
  DialUpdated();
}

void CAnalogGuage::SetUnitText(std::string text) { m_dial->SetUnitText(std::move(text)); }

void CAnalogGuage::ClearThresholds() {
  m_dial->ClearThresholds();
  DialUpdated();
}

void CAnalogGuage::AddThreshold(double start, double end, Argb colour) {
  m_dial->AddThreshold(start, end, colour);
  DialUpdated();
}

QRect CAnalogGuage::NeedleRect() const {
  const RectF r = m_dial->NeedleBounds();
  return QRectF(r.x, r.y, r.width, r.height).toAlignedRect();
}

void CAnalogGuage::DialUpdated() {
  const double angle = m_dial->NeedleAngle();
  if (m_dial->DialRevision() != m_requestedRevision) {
    m_requestedRevision = m_dial->DialRevision();
    m_requestedAngle = angle;
    m_requestedNeedle = NeedleRect();
    RequestRepaint(m_pacer, *this, rect());
    return;
  }
  if (angle == m_requestedAngle) return;
  const QRect needle = NeedleRect();
  RequestRepaint(m_pacer, *this, QRegion(m_requestedNeedle) + needle);
  m_requestedAngle = angle;
  m_requestedNeedle = needle;
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

void CAnalogGuage::paintEvent(QPaintEvent* event) {
  const QRegion whole(0, 0, m_dial->Width(), m_dial->Height());
  bool all = false;
  if (Fit(m_face) || m_faceRevision != m_dial->DialRevision()) {
    QPainter painter(&m_face);
    QtCanvas canvas(painter, 96);
    m_dial->PaintFace(canvas);
    m_faceRevision = m_dial->DialRevision();
    all = true;
  }
  // A new face (one not asked for through DialUpdated, e.g. a new unit
  // text) shows everywhere, not just in the region asked for.
  if (all && !(whole - event->region()).isEmpty()) update();
  Fit(m_image);
  {
    // The glass is composed over the whole dial, not clipped: its
    // anti-aliased rim comes out the same as in a whole paint only so.
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), m_face);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QtCanvas canvas(painter, 96);
    m_dial->PaintNeedle(canvas);
  }
  // Only the asked-for region (the needle's old and new place) reaches
  // the screen.
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.drawImage(QPointF(0, 0), m_image);
}

void CAnalogGuage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_dial->SetSize(width(), height());
  DialUpdated();
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
