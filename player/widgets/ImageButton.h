#pragma once
// The player's picture button: shows PictureUp normally, PictureOver while the pointer is over
// it, PictureDown while the left button is pressed on it and PictureDisable while disabled.
// A disabled button ignores the mouse. After a press and release it shows PictureUp even with
// the pointer still over it, until the pointer leaves and enters again.
#include <QPixmap>
#include <QWidget>

namespace lodgeview {

class TImageButton : public QWidget {
    Q_OBJECT
public:
    enum class VisualState { Released = 0, Pressed = 1, Hovered = 2, Normal = 3 };

    explicit TImageButton(QWidget* parent = nullptr);

    // Setting a picture copies it; an empty picture displays nothing.
    void SetPictureUp(const QPixmap& picture);
    void SetPictureOver(const QPixmap& picture) { pictureOver_ = picture; }
    void SetPictureDown(const QPixmap& picture) { pictureDown_ = picture; }
    void SetPictureDisable(const QPixmap& picture);
    const QPixmap& Displayed() const { return displayed_; }
    VisualState State() const { return state_; }
    // The form's tag: one click handler often serves several buttons and tells them apart by it.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

signals:
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Moves to `state` and shows `picture` unless the button is disabled or already in it.
    void Enter(VisualState state, const QPixmap& picture);
    void Display(const QPixmap& picture);

    QPixmap pictureUp_, pictureOver_, pictureDown_, pictureDisable_, displayed_;
    VisualState state_ = VisualState::Normal;
    int tag_ = 0;
};

} // namespace lodgeview
