#pragma once
// A push button drawn from a picture strip of three equal frames side by side: normal, pointer
// over, pressed. Magenta (255, 0, 255) pixels are transparent: they are not drawn, and the
// button's shape leaves them out, so clicks there reach the window below.
#include <QAbstractButton>
#include <QPixmap>

class QImage;

namespace lodgeview {

class CHoverButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit CHoverButton(QWidget* parent = nullptr);

    // Shapes the button after the first frame and sizes it to one frame (position kept). A null
    // strip changes nothing: a button without a strip draws nothing and is clickable over its
    // whole rectangle.
    void SetStrip(const QImage& strip);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap strip_; // magenta made transparent
    int frameWidth_ = 0;
};

} // namespace lodgeview
