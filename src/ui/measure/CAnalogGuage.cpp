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

void CAnalogGuage::PaintLayers(QImage& face, QImage& cover) const {
  {
    QPainter painter(&face);
    QtCanvas canvas(painter, 96);
    m_dial->PaintFace(canvas);
  }
  cover.fill(Qt::transparent);
  QPainter painter(&cover);
  QtCanvas canvas(painter, 96);
  m_dial->PaintCover(canvas);
}

void CAnalogGuage::Compose(QImage& image, const QImage& face, const QImage& cover, const QRect& area) const {
  // Face, needle, and hub and glass as a kept image over it (drawn under
  // a clip, the glass's anti-aliased rim would come out differently).
  QPainter painter(&image);
  painter.setClipRect(area);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPointF(0, 0), face);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  QtCanvas canvas(painter, 96);
  m_dial->PaintNeedleAlone(canvas);
  painter.drawImage(QPointF(0, 0), cover);
}

QImage CAnalogGuage::Render() const {
  QImage face, cover, image;
  Fit(face);
  Fit(cover);
  Fit(image);
  PaintLayers(face, cover);
  Compose(image, face, cover, QRect(0, 0, m_dial->Width(), m_dial->Height()));
  return image;
}

void CAnalogGuage::paintEvent(QPaintEvent* event) {
  const QRect whole(0, 0, m_dial->Width(), m_dial->Height());
  QRect area = event->region().boundingRect();
  if (Fit(m_image)) area = whole;
  const bool newFace = Fit(m_face);
  const bool newCover = Fit(m_cover);
  if (newFace || newCover || m_faceRevision != m_dial->DialRevision()) {
    PaintLayers(m_face, m_cover);
    m_faceRevision = m_dial->DialRevision();
    // A new face (one not asked for through DialUpdated, e.g. a new unit
    // text) shows everywhere, not just in the region asked for.
    if (!(QRegion(whole) - event->region()).isEmpty()) update();
    area = whole;
  }
  // Only the asked-for rectangle is composed again; the rest of the image
  // still matches the screen.
  Compose(m_image, m_face, m_cover, area);
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
