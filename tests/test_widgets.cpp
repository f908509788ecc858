// The picture button's states and the on-video message's shape and placement.
#include "player/overlay/RegionFromBitmap.h"
#include "player/overlay/VideoMessage.h"
#include "player/widgets/ImageButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QScreen>
#include <gtest/gtest.h>

namespace lodgeview {
namespace {

QPixmap Solid(const QColor& color)
{
    QPixmap picture(10, 10);
    picture.fill(color);
    return picture;
}

QColor Shown(const TImageButton& button)
{
    return button.Displayed().isNull() ? QColor() : button.Displayed().toImage().pixelColor(0, 0);
}

void Send(TImageButton& button, QEvent::Type type)
{
    const QPointF at(5, 5);
    if (type == QEvent::Enter) {
        QEnterEvent event(at, at, at);
        QApplication::sendEvent(&button, &event);
    } else if (type == QEvent::Leave) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&button, &event);
    } else {
        QMouseEvent event(type, at, at, at, Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    }
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        button.resize(10, 10);
        button.SetPictureUp(Solid(Qt::red));
        button.SetPictureOver(Solid(Qt::green));
        button.SetPictureDown(Solid(Qt::blue));
        button.SetPictureDisable(Solid(Qt::gray));
        QObject::connect(&button, &TImageButton::clicked, [this] { ++clicks; });
    }
    TImageButton button;
    int clicks = 0;
};

TEST_F(ImageButtonTest, PicturesFollowThePointerAndPressStaysUpUntilReentry)
{
    using S = TImageButton::VisualState;
    EXPECT_EQ(button.State(), S::Normal);
    EXPECT_EQ(Shown(button), QColor(Qt::red));
    const struct {
        QEvent::Type event;
        S state;
        Qt::GlobalColor shown;
    } steps[] = {
        {QEvent::Enter, S::Hovered, Qt::green},
        {QEvent::MouseButtonPress, S::Pressed, Qt::blue},
        {QEvent::MouseButtonRelease, S::Released, Qt::red},
        {QEvent::Leave, S::Normal, Qt::red},
        {QEvent::Enter, S::Hovered, Qt::green},
    };
    for (const auto& step : steps) {
        Send(button, step.event);
        EXPECT_EQ(button.State(), step.state) << step.event;
        EXPECT_EQ(Shown(button), QColor(step.shown)) << step.event;
    }
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, DisabledShowsItsPictureAndIgnoresTheMouse)
{
    button.setEnabled(false);
    EXPECT_EQ(Shown(button), QColor(Qt::gray));
    EXPECT_EQ(button.State(), TImageButton::VisualState::Released);
    // Qt does not deliver mouse events to disabled widgets; enter/leave still arrive.
    Send(button, QEvent::Enter);
    EXPECT_EQ(Shown(button), QColor(Qt::gray));
    button.setEnabled(true);
    EXPECT_EQ(Shown(button), QColor(Qt::red));
    EXPECT_EQ(button.State(), TImageButton::VisualState::Normal);
}

TEST_F(ImageButtonTest, MissingHoverPictureShowsNothing)
{
    button.SetPictureOver(QPixmap());
    Send(button, QEvent::Enter);
    EXPECT_TRUE(button.Displayed().isNull());
}

QImage Bitmap(const std::vector<std::string>& rows)
{
    QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? Qt::black : QColor(128, 128, 128));
    return image;
}

TEST(RegionFromBitmap, RunsPerRowIncludingTheRightEdge)
{
    const struct {
        std::vector<std::string> rows;
        std::vector<QRect> rects;
    } cases[] = {
        {{"...."}, {}},
        {{".##.", "...."}, {QRect(1, 0, 2, 1)}},
        {{".#.#", "..##"}, {QRect(1, 0, 1, 1), QRect(3, 0, 1, 1), QRect(2, 1, 2, 1)}},
        {{"..", ".#"}, {QRect(1, 1, 1, 1)}},
    };
    for (const auto& c : cases) {
        QRegion expected;
        for (const QRect& r : c.rects)
            expected += r;
        EXPECT_EQ(RegionFromBitmap(Bitmap(c.rows)), expected) << c.rows[0];
    }
    // The key is whatever the top-left pixel holds: here black, so the grey pixels form the shape.
    EXPECT_EQ(RegionFromBitmap(Bitmap({"#.", "##"})), QRegion(1, 0, 1, 1));
}

TEST(VideoMessage, ShapeHoldsOnlyTheLettersOfTheUpperLine)
{
    QWidget container;
    container.resize(800, 600);
    TfrmVideoMessage message(&container);
    message.SetMessage(QString::fromUtf8("[2 배속]"));
    message.SetStyle("Verdana", 24, QColor(255, 255, 0), 0);
    EXPECT_EQ(message.pos(), QPoint(20, 0));
    EXPECT_EQ(message.height(), 2 * message.LineHeight());
    const QRect shape = message.mask().boundingRect();
    ASSERT_FALSE(shape.isEmpty());
    EXPECT_LT(shape.bottom(), message.LineHeight()) << "the lower half holds no letters";

    // Letters in the key colour: only the black outline remains in the shape.
    message.SetStyle("Verdana", 24, QColor(128, 128, 128), 0);
    const QImage& buffer = message.Buffer();
    for (const QRect& r : message.mask())
        for (int x = r.left(); x <= r.right(); ++x)
            ASSERT_EQ(buffer.pixelColor(x, r.top()), QColor(Qt::black));
}

TEST(VideoMessage, TopLevelMessageStandsTwentyPixelsIntoItsMonitor)
{
    const struct {
        int monitor;
        std::vector<int> widths;
        int left;
    } cases[] = {{0, {1920}, 20}, {1, {1920, 1280}, 1940}, {2, {1024, 1280, 800}, 2324}, {3, {1024}, 1044}};
    for (const auto& c : cases)
        EXPECT_EQ(TopLevelMessageLeft(c.monitor, c.widths), c.left) << c.monitor;
}

} // namespace
} // namespace lodgeview
