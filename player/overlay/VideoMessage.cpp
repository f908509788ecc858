#include "player/overlay/VideoMessage.h"

#include "player/overlay/RegionFromBitmap.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace lodgeview {

QFont CreateBoldFont(int height, const QString& faceName)
{
    QFont font(faceName);
    font.setPixelSize(height);
    font.setWeight(QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    // Crisp letters: blended edge pixels would widen the window's shape with half-grey specks.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void DrawOutlinedText(QPainter& painter, int x, int y, const QColor& color, const QString& text)
{
    const int baseline = y + QFontMetrics(painter.font()).ascent();
    painter.setPen(Qt::black);
    static constexpr int kAround[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& d : kAround)
        painter.drawText(x + d[0], baseline + d[1], text);
    painter.setPen(color);
    painter.drawText(x, baseline, text);
}

TfrmVideoMessage::TfrmVideoMessage(QWidget* container) : QWidget(container)
{
    if (!container)
        setWindowFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
    // The shape, not a background, makes everything but the letters invisible.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TfrmVideoMessage::SetStyle(const QString& fontName, int fontHeight, const QColor& textColor, int monitorIndex)
{
    fontName_ = fontName;
    fontHeight_ = fontHeight;
    textColor_ = textColor;
    monitorIndex_ = monitorIndex;
    const QFontMetrics metrics(CreateBoldFont(fontHeight_, fontName_));
    lineHeight_ = metrics.height() + 10;
    resize(metrics.horizontalAdvance(messageText_) + 10, 2 * lineHeight_);
    Place();
    Redraw();
}

void TfrmVideoMessage::Place()
{
    if (parentWidget()) {
        move(20, 0);
        return;
    }
    std::vector<int> widths;
    for (const QScreen* screen : QGuiApplication::screens())
        widths.push_back(screen->geometry().width());
    move(TopLevelMessageLeft(monitorIndex_, widths), 0);
}

int TopLevelMessageLeft(int monitorIndex, const std::vector<int>& monitorWidths)
{
    int left = 20;
    for (int i = 0; i < monitorIndex && i < static_cast<int>(monitorWidths.size()); ++i)
        left += monitorWidths[static_cast<std::size_t>(i)];
    return left;
}

void TfrmVideoMessage::Redraw() { DrawMessage(3, 3, textColor_, fontHeight_, fontName_); }

void TfrmVideoMessage::DrawMessage(int x, int y, const QColor& color, int fontHeight, const QString& fontName)
{
    buffer_ = QImage(size(), QImage::Format_RGB888);
    buffer_.fill(QColor(128, 128, 128));
    {
        QPainter painter(&buffer_);
        painter.setFont(CreateBoldFont(fontHeight, fontName));
        DrawOutlinedText(painter, x, y, color, messageText_);
    }
    setMask(RegionFromBitmap(buffer_));
    update();
}

void TfrmVideoMessage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Redraw();
}

void TfrmVideoMessage::paintEvent(QPaintEvent*)
{
    if (parentWidget() && x() != 20)
        move(20, 0);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

} // namespace lodgeview
