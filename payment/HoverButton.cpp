#include "payment/HoverButton.h"

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QPainter>

namespace lodgeview {

namespace {

const QColor kTransparent(255, 0, 255);

} // namespace

CHoverButton::CHoverButton(QWidget* parent)
    : QAbstractButton(parent)
{
    // Repaint on entering and leaving: the hover frame follows the pointer.
    setAttribute(Qt::WA_Hover);
}

void CHoverButton::SetStrip(const QImage& strip)
{
    if (strip.isNull())
        return;
    strip_ = QPixmap::fromImage(strip.convertToFormat(QImage::Format_RGB32));
    const QBitmap opaque = strip_.createMaskFromColor(kTransparent, Qt::MaskInColor);
    strip_.setMask(opaque);
    frameWidth_ = strip_.width() / 3;
    setMask(opaque);
    resize(frameWidth_, strip_.height());
    update();
}

void CHoverButton::paintEvent(QPaintEvent*)
{
    if (strip_.isNull())
        return;
    const int frame = isDown() ? 2 : underMouse() ? 1 : 0;
    QPainter painter(this);
    painter.drawPixmap(0, 0, strip_, frame * frameWidth_, 0, frameWidth_, strip_.height());
}

} // namespace lodgeview
