// The main window with fake controls: menu layouts, menu pictures, the menu pages at the first
// status tick, the cartoon request, web navigation and the close and exit paths.
#include "player/mainwindow/CartoonRequest.h"
#include "player/mainwindow/MainWindow.h"
#include "player/miniwin/MiniWindow.h"
#include "player/service/ServiceExchange.h"
#include "player/widgets/ImageButton.h"

#include "LoopbackHttpServer.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakeWebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

namespace lodgeview {
namespace {

using test::FakeMediaPlayer;
using test::FakeWebBrowser;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        dm.AppPath = LODGEVIEW_BIN_DIR;
        dm.ServerHost = "127.0.0.1";
        dm.PortSuffix = server.portSuffix();
        dm.CartoonEnabled = true;
        for (QWidget** w : {&webWidget, &menuWidget, &newWidget, &loadingWidget, &videoWidget})
            *w = new QWidget;
        controls.WebBrowser = {&web, webWidget};
        controls.MenuBrowser = {&menu, menuWidget};
        controls.NewMediaWeb = {&newMedia, newWidget};
        controls.WebLoading = {&loading, loadingWidget};
        controls.VLC = &vlc;
        controls.videoWidget = videoWidget;
    }

    TfrmMorvikPlayer& Window()
    {
        if (!window) {
            window = std::make_unique<TfrmMorvikPlayer>(dm, controls, http);
            window->showWarning = [this](const QString& text) { warnings.push_back(text.toStdString()); };
            window->openDocument = [this](const QString& url) { opened.push_back(url.toStdString()); };
        }
        return *window;
    }
    // The component's own visibility flag: a shown component inside a hidden one counts as shown.
    bool Shown(const char* name) { return !Window().findChild<QWidget*>(name)->isHidden(); }

    test::LoopbackHttpServer server;
    CurlHttpClient http;
    TDM dm;
    FakeWebBrowser web, menu, newMedia, loading;
    FakeMediaPlayer vlc;
    QWidget *webWidget, *menuWidget, *newWidget, *loadingWidget, *videoWidget;
    MainWindowControls controls;
    std::unique_ptr<TfrmMorvikPlayer> window;
    std::vector<std::string> warnings, opened;
};

TEST_F(MainWindowTest, StartsInTheMovieLayoutWithOnlyOfferedMenus)
{
    EXPECT_TRUE(Window().MovieMenuActive());
    EXPECT_TRUE(Shown("contMedia"));
    EXPECT_TRUE(Shown("contMediaTitle"));
    EXPECT_TRUE(Shown("pnNewMediaWeb"));
    EXPECT_TRUE(Shown("contMenu"));
    EXPECT_FALSE(Shown("contWeb"));
    EXPECT_FALSE(Shown("btnCartoon"));
    EXPECT_FALSE(vlc.visible);
    EXPECT_TRUE(Shown("imgLink0"));
    EXPECT_TRUE(Shown("imgLink1"));
    for (const char* hidden : {"imgLink2", "imgLink3", "imgLink7", "imgLink8"})
        EXPECT_FALSE(Shown(hidden)) << hidden;
    EXPECT_FALSE(Window().findChild<QLabel*>("imgLodgeLogo")->pixmap().isNull());
}

TEST_F(MainWindowTest, CartoonMenuHiddenWhenNotOffered)
{
    dm.CartoonEnabled = false;
    EXPECT_FALSE(Shown("imgLink1"));
}

TEST_F(MainWindowTest, MenuLayouts)
{
    const struct {
        int tag;
        std::vector<const char*> shown, hidden;
    } cases[] = {
        {1, {"contMedia", "contMediaTitle", "btnCartoon"}, {"contWeb", "contMenu", "pnMediaControl", "splMainMenu", "pnNewMediaWeb"}},
        {2, {"contWeb", "contWebMenu"}, {"contMedia", "contMenu", "splMainMenu", "pnMediaControl"}},
        {6, {"contWeb"}, {"contMedia", "contMenu", "splMainMenu", "pnMediaControl"}},
        {8, {"contMedia", "contMenu", "contMediaSearch", "splMainMenu", "pnMediaControl"}, {"contWeb", "contWebMenu"}},
        {0, {"contMedia", "contMenu", "contWebMenu", "pnMediaControl", "splMainMenu", "pnNewMediaWeb"}, {"contWeb", "contMediaSearch", "btnCartoon"}},
    };
    for (const auto& c : cases) {
        Window().btnMainMenuClick(c.tag);
        for (const char* name : c.shown)
            EXPECT_TRUE(Shown(name)) << "tag " << c.tag << ": " << name;
        for (const char* name : c.hidden)
            EXPECT_FALSE(Shown(name)) << "tag " << c.tag << ": " << name;
    }
}

TEST_F(MainWindowTest, CartoonLayoutFixesTheSizeAndStopsTheMovie)
{
    Window();
    vlc.Add("http://movie", {});
    vlc.PlayItem(1);
    Window().btnMainMenuClick(1);
    EXPECT_FALSE(Window().MovieMenuActive());
    EXPECT_EQ(Window().minimumSize(), QSize(993, 558));
    EXPECT_EQ(Window().maximumSize(), QSize(993, 558));
    EXPECT_EQ(vlc.state, kInputNone);
    EXPECT_FALSE(newMedia.visible);

    Window().btnMainMenuClick(0);
    EXPECT_TRUE(Window().MovieMenuActive());
    EXPECT_EQ(Window().minimumSize(), QSize(881, 340));
    EXPECT_GT(Window().maximumWidth(), 993);
    EXPECT_TRUE(newMedia.visible);
}

TEST_F(MainWindowTest, SelectedMenuShowsItsThirdFrameOpaque)
{
    Window().btnMainMenuClick(1);
    auto* movie = Window().findChild<TImageButton*>("imgLink0");
    auto* cartoon = Window().findChild<TImageButton*>("imgLink1");
    const QPixmap strip(QString(LODGEVIEW_BIN_DIR) + "Images/menu_02.bmp");
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(cartoon->Displayed().toImage(), strip.copy(86, 0, 43, 47).toImage());
    EXPECT_FALSE(cartoon->Displayed().hasAlpha());
    EXPECT_TRUE(movie->Displayed().hasAlpha()) << "unselected buttons are transparent at (70, 70, 70)";

    Window().btnMainMenuClick(7);
    EXPECT_EQ(cartoon->Displayed().toImage(), strip.copy(86, 0, 43, 47).toImage()) << "help changes nothing";
}

TEST_F(MainWindowTest, FirstStatusTickLoadsTheThreePagesOnce)
{
    Window().StatusTimerTimer();
    const std::string base = "http://127.0.0.1" + server.portSuffix();
    EXPECT_EQ(newMedia.navigations, std::vector<std::string>{base + "/ZUVU_MS/pc/movie.do"});
    EXPECT_EQ(menu.navigations, std::vector<std::string>{base + "/ZUVU_MS/pc/new_movie.do"});
    EXPECT_EQ(loading.navigations, std::vector<std::string>{std::string("file://") + LODGEVIEW_BIN_DIR + "loading.html"});
    EXPECT_TRUE(Window().PagesLoaded());
    EXPECT_FALSE(Window().StatusTimer().isActive());
    Window().StatusTimerTimer();
    EXPECT_EQ(menu.navigations.size(), 1u);

    newMedia.onDocumentComplete(true, base + "/ZUVU_MS/pc/movie.do");
    ASSERT_EQ(newMedia.scripts.size(), 1u);
    EXPECT_NE(newMedia.scripts[0].find("border = 'none'"), std::string::npos);
}

TEST_F(MainWindowTest, PagesComeFromTheHostEvenWithoutPort)
{
    dm.PortSuffix = "";
    Window().StatusTimerTimer();
    EXPECT_EQ(menu.navigations.at(0), "http://127.0.0.1/ZUVU_MS/pc/new_movie.do");
}

TEST_F(MainWindowTest, CartoonButtonOpensTheAddressOrWarns)
{
    std::string reply, target;
    server.server().Get("/ZUVU_MS/cartoon.do", [&](const httplib::Request& req, httplib::Response& res) {
        target = req.target;
        res.set_content(reply, "text/xml");
    });
    const std::string warning = "서버와가 올바로 응답하지 않았습니다. 관리자에게 문의하세요.";
    reply = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><IF_001><ITEM><URL>http://cartoon.example/start</URL></ITEM></IF_001>";
    Window().btnCartoonClick();
    EXPECT_EQ(opened, std::vector<std::string>{"http://cartoon.example/start"});
    EXPECT_EQ(target.rfind("/ZUVU_MS/cartoon.do?CMD=IF_001&ID_MAC=" + GetMacText() + "&TP_REQ=", 0), 0u) << target;
    EXPECT_EQ(target.size() - target.find("&TP_REQ=") - 8, 14u) << "time stamp YYYYMMDDhhmmss";

    for (const char* bad : {"<IF_001><ITEM><NAME>x</NAME></ITEM></IF_001>", "<IF_001><URL>x</URL></IF_001>", "", "<broken"}) {
        reply = bad;
        Window().btnCartoonClick();
        EXPECT_EQ(warnings.back(), warning) << bad;
    }
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(warnings.size(), 4u);
}

TEST_F(MainWindowTest, WebMoveButtonsWalkTheHistory)
{
    Window().imgWebMoveClick(0);
    Window().imgWebMoveClick(1);
    Window().imgWebMoveClick(1);
    EXPECT_EQ(web.backs, 1);
    EXPECT_EQ(web.forwards, 2);
}

TEST_F(MainWindowTest, StartPlacesTheWindowAtHomeWithTheSiteCaption)
{
    dm.SiteName = "한빛모텔";
    Window().Start();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle().toStdString(), "Lodgeview TV  [한빛모텔]");
    EXPECT_EQ(Window().geometry().size(), QSize(1003, 571));
    EXPECT_TRUE(Window().StatusTimer().isActive());
    EXPECT_EQ(Window().StatusTimer().interval(), 3000);
}

TEST_F(MainWindowTest, MiniStartModeShowsOnlyTheMiniWindow)
{
    dm.StartMode = "1";
    Window().Start();
    EXPECT_FALSE(Window().isVisible());
    ASSERT_NE(Window().MiniWindow(), nullptr);
    EXPECT_TRUE(Window().MiniWindow()->isVisible());
    EXPECT_TRUE(Window().StatusTimer().isActive());

    Window().ReturnFromMiniWindow(0);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().pos(), Window().Home());
    EXPECT_EQ(Window().size(), QSize(1003, 571));
    EXPECT_FALSE(Window().MiniWindow()->isVisible());
}

TEST_F(MainWindowTest, CloseHidesBehindTheMiniWindowAndExitEnds)
{
    Window().Start();
    vlc.Add("http://movie", {});
    vlc.PlayItem(1);
    EXPECT_FALSE(Window().close()) << "closing only hides";
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(vlc.ItemCount(), 0);
    ASSERT_NE(Window().MiniWindow(), nullptr);
    EXPECT_TRUE(Window().MiniWindow()->isVisible());

    Window().mmiPopupClick(1);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(Window().MiniWindow()->isVisible());
    Window().findChild<QAction*>("mmiExit")->trigger();
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MainWindowTest, MiniWindowButtonsBringTheChosenMenuBack)
{
    Window().Start();
    Window().close();
    Window().ReturnFromMiniWindow(1);
    EXPECT_FALSE(Window().MovieMenuActive()) << "cartoon menu";
    EXPECT_TRUE(Window().isVisible());

    vlc.Add("http://movie", {});
    vlc.PlayItem(1);
    vlc.TogglePause();
    Window().close();
    vlc.state = kInputPaused;  // closing cleared the list; a paused input stays paused
    Window().ReturnFromMiniWindow(0);
    EXPECT_TRUE(Window().MovieMenuActive());
    EXPECT_EQ(vlc.state, kInputPlaying) << "a paused movie resumes";
}

TEST(HomePosition, CentresTheHomeWindow)
{
    EXPECT_EQ(HomePosition(QSize(1920, 1050)), QPoint(459, 240));
    EXPECT_EQ(HomePosition(QSize(1003, 571)), QPoint(0, 0));
    EXPECT_EQ(HomePosition(QSize(800, 500)), QPoint(-101, -35));
}

TEST(CartoonUrlFromReply, FirstChildOfTheDocumentElementOnly)
{
    EXPECT_EQ(CartoonUrlFromReply("<A><B><URL>u1</URL></B><C><URL>u2</URL></C></A>"), "u1");
    EXPECT_EQ(CartoonUrlFromReply("<A><B/><C><URL>u2</URL></C></A>"), std::nullopt);
}

} // namespace
} // namespace lodgeview
