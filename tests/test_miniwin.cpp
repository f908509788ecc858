// The mini window: its buttons by cartoon service, its pages, caption and corner.
#include "player/miniwin/MiniWindow.h"
#include "player/widgets/ImageButton.h"

#include "fakes/FakeWebBrowser.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace lodgeview {
namespace {

using test::FakeWebBrowser;

class MiniWindowTest : public ::testing::Test {
protected:
    MiniWindowTest()
    {
        dm.AppPath = LODGEVIEW_BIN_DIR;
        dm.ServerHost = "127.0.0.1";
        dm.PortSuffix = ":8080";
    }
    TfrmMiniWin& Window()
    {
        if (!window)
            window = std::make_unique<TfrmMiniWin>(dm, BrowserPane{&banner, new QWidget}, BrowserPane{&poster, new QWidget});
        return *window;
    }
    TImageButton* Button(const char* name) { return Window().findChild<TImageButton*>(name); }

    TDM dm;
    FakeWebBrowser banner, poster;
    std::unique_ptr<TfrmMiniWin> window;
};

TEST_F(MiniWindowTest, TwoButtonsWithCartoonsOneWideWithout)
{
    dm.CartoonEnabled = true;
    EXPECT_FALSE(Button("btnMovie")->isHidden());
    EXPECT_FALSE(Button("btnCari")->isHidden());
    EXPECT_TRUE(Button("btnLuck")->isHidden());
    EXPECT_EQ(Button("btnMovie")->width(), 115);
    EXPECT_FALSE(Button("btnMovie")->Displayed().isNull());
    window.reset();

    dm.CartoonEnabled = false;
    EXPECT_TRUE(Button("btnCari")->isHidden());
    EXPECT_EQ(Button("btnMovie")->width(), 230);
    EXPECT_EQ(Button("btnMovie")->Displayed().width(), 230);
}

TEST_F(MiniWindowTest, MissingPicturesLeaveTheButtonsBlank)
{
    dm.AppPath = "/no/such/installation/";
    EXPECT_TRUE(Button("btnMovie")->Displayed().isNull());
}

TEST_F(MiniWindowTest, EachShowingLoadsBothPagesAndSetsTheCaption)
{
    Window().show();
    EXPECT_EQ(banner.navigations, std::vector<std::string>{"http://127.0.0.1:8080/ZUVU_MS/redirect.do?id_ban=21"});
    EXPECT_EQ(poster.navigations, std::vector<std::string>{"http://127.0.0.1:8080/ZUVU_MS/redirect.do?id_ban=22"});
    EXPECT_EQ(Window().windowTitle(), "Lodgeview TV");
    Window().hide();
    dm.SiteName = "한빛모텔";
    Window().show();
    EXPECT_EQ(banner.navigations.size(), 2u);
    EXPECT_EQ(Window().windowTitle().toStdString(), "Lodgeview TV  [한빛모텔]");
    EXPECT_FALSE(Window().close()) << "closing only hides";
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MiniWindowTest, ButtonsReportTheirTags)
{
    dm.CartoonEnabled = true;
    std::vector<int> tags;
    Window().OnControlClick = [&](int tag) { tags.push_back(tag); };
    for (const char* name : {"btnCari", "btnMovie"}) {
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Button(name), &press);
        QApplication::sendEvent(Button(name), &release);
    }
    EXPECT_EQ(tags, (std::vector<int>{1, 0}));
}

TEST(MiniWindowPlacement, BottomRightAboveTheTaskBar)
{
    EXPECT_EQ(TfrmMiniWin::Placement(1920, 1040), QPoint(1688, 782));
}

} // namespace
} // namespace lodgeview
