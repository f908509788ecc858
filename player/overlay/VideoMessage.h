#pragma once
// A short notice written over the video in outlined letters with no frame or background: the
// window's shape is made of the drawn pixels. A child of a container when one is given, else a
// top-level window on the monitor of MonitorIndex.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

namespace lodgeview {

class TfrmVideoMessage : public QWidget {
    Q_OBJECT
public:
    explicit TfrmVideoMessage(QWidget* container = nullptr);

    void SetMessage(const QString& text) { messageText_ = text; }
    // Stores the style, sizes the window to the text (twice the line height: the lower half
    // stays empty and is cut away by the shape), places it and redraws.
    void SetStyle(const QString& fontName, int fontHeight, const QColor& textColor, int monitorIndex);
    void Redraw();

    const QString& MessageText() const { return messageText_; }
    const QImage& Buffer() const { return buffer_; }
    int LineHeight() const { return lineHeight_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Place();
    void DrawMessage(int x, int y, const QColor& color, int fontHeight, const QString& fontName);

    QString messageText_;
    QImage buffer_;
    int lineHeight_ = 0;
    QString fontName_ = QStringLiteral("Verdana");
    int fontHeight_ = 24;
    QColor textColor_ = QColor(255, 255, 0);
    int monitorIndex_ = 0;
};

// Left edge of a top-level message: 20 pixels into the monitor of monitorIndex, the monitors
// taken as standing side by side in index order (a missing monitor adds no width).
int TopLevelMessageLeft(int monitorIndex, const std::vector<int>& monitorWidths);

// The bold font of the messages: `height` pixels high.
QFont CreateBoldFont(int height, const QString& faceName);
// The text in black at the eight neighbouring positions of (x, y), then in color at (x, y);
// (x, y) is the top-left corner of the text cell.
void DrawOutlinedText(QPainter& painter, int x, int y, const QColor& color, const QString& text);

} // namespace lodgeview
