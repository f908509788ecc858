#include "player/widgets/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace lodgeview {

TImageButton::TImageButton(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_Hover, false); }

void TImageButton::SetPictureUp(const QPixmap& picture)
{
    pictureUp_ = picture;
    if (isEnabled())
        Display(pictureUp_);
}

void TImageButton::SetPictureDisable(const QPixmap& picture)
{
    pictureDisable_ = picture;
    if (!isEnabled())
        Display(pictureDisable_);
}

void TImageButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    if (isEnabled()) {
        state_ = VisualState::Normal;
        Display(pictureUp_);
    } else {
        state_ = VisualState::Released;
        Display(pictureDisable_);
    }
}

void TImageButton::Enter(VisualState state, const QPixmap& picture)
{
    if (!isEnabled() || state_ == state)
        return;
    state_ = state;
    Display(picture);
}

void TImageButton::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Enter(VisualState::Pressed, pictureDown_);
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    Enter(VisualState::Released, pictureUp_);
    if (isEnabled() && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TImageButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    Enter(VisualState::Hovered, pictureOver_);
}

void TImageButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    Enter(VisualState::Normal, pictureUp_);
}

void TImageButton::Display(const QPixmap& picture)
{
    displayed_ = picture;
    update();
}

void TImageButton::paintEvent(QPaintEvent*)
{
    if (displayed_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, displayed_);
}

} // namespace lodgeview
