// The logo overlay end to end on an X display: OverlayKit's list in logo.ini becomes an item
// option, and libVLC draws the pictures over the playing video, but only when the player
// options enable the logo module. The clip is black; the logo picture is white.
#include "logooverlay/LogoList.h"
#include "player/controls/media/LogoOverlay.h"
#include "player/controls/media/VlcMediaPlayer.h"
#include "player/session/LogoItemOptions.h"
#include "player/startup/DataModule.h"

#include "SpinEventLoop.h"
#include "TempFolder.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace lodgeview {
namespace {

TEST(LogoFileListOf, EnabledByTheLogoModuleOnly)
{
    const std::string list = "/i/adv/logo/logo/5000.png, 5000, 200";
    const struct {
        std::vector<std::string> options;
        bool shown;
    } cases[] = {
        {{"sub-filter=logo", ":logo-file=" + list}, true},
        {{":sub-source=marq:logo", "logo-file=" + list}, true},
        {{":vout-filter=deinterlace", ":logo-file=" + list}, false},
        {{"sub-filter=logos", ":logo-file=" + list}, false},
        {{"sub-filter=logo", ":logo-file="}, false},
        {{"sub-filter=logo"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogoFileListOf(c.options).has_value(), c.shown) << c.options[0];
    EXPECT_EQ(LogoFileListOf({"sub-filter=logo", ":logo-file=" + list}), list);
}

// White pixels in the window after a second of playback.
int WhitePixelsShown(const std::string& options)
{
    test::TempFolder install;
    install.Put("NGTV.INI", "[PLAYER]\r\nOptions=" + options + "\r\n");
    std::filesystem::create_directories(install.path() / "adv/logo/slogo");
    QImage logo(48, 32, QImage::Format_RGB32);
    logo.fill(Qt::white);
    logo.save(QString::fromStdString(install.Path("adv/logo/slogo/5000_logo.png")));
    const std::string appPath = install.path().string() + "/";
    RebuildLogoIni(appPath, false);

    const std::vector<std::string> itemOptions = LogoItemOptions(SplitDelimitedList(options, "|"), appPath);
    VlcMediaPlayer player({"--aout=adummy", "--quiet"});
    QWidget window;
    window.resize(320, 240);
    player.VideoWidget()->setParent(&window);
    player.VideoWidget()->resize(320, 240);
    window.show();
    player.PlayItem(player.Add(std::string("file://") + LODGEVIEW_MEDIA_CLIPS + "/black.ts", itemOptions));
    EXPECT_TRUE(test::SpinUntil([&] { return player.InputState() == kInputPlaying; }, std::chrono::seconds(10)));
    test::SpinUntil([] { return false; }, std::chrono::milliseconds(1500));

    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
    player.Stop();
    int white = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            white += c.red() > 150 && c.green() > 150 && c.blue() > 150;
        }
    return white;
}

TEST(LogoOverlay, PicturesAppearOverTheVideoWhenTheOptionsEnableTheLogo)
{
    EXPECT_GT(WhitePixelsShown(":vout-filter=deinterlace|sub-filter=logo"), 500);
    EXPECT_EQ(WhitePixelsShown(":vout-filter=deinterlace"), 0);
}

} // namespace
} // namespace lodgeview
