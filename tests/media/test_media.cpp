// VlcMediaPlayer playing real clips from a loopback HTTP server: a 3 s advertisement (ad.ts) and
// a 6 s movie (movie.ts), generated at build time. libVLC runs silent and headless.
#include "player/controls/media/VlcMediaPlayer.h"

#include "LoopbackHttpServer.h"
#include "SpinEventLoop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace lodgeview {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kHeadless = {"--aout=adummy", "--vout=dummy", "--quiet"};

using test::SpinUntil;

class VlcMediaPlayerTest : public ::testing::Test {
protected:
    VlcMediaPlayerTest() { server_.server().set_mount_point("/", LODGEVIEW_MEDIA_CLIPS); }

    std::string Url(const std::string& file) const
    {
        return "http://127.0.0.1" + server_.portSuffix() + "/" + file;
    }
    // Waits until the player is in `state` with item `id`.
    bool WaitForItem(int id, int state, std::chrono::milliseconds timeout = 10s)
    {
        return SpinUntil(
            [&] { return player_.CurrentItem() == id && player_.InputState() == state; }, timeout);
    }

    test::LoopbackHttpServer server_;
    VlcMediaPlayer player_{kHeadless};
};

TEST(VlcMediaPlayerStart, FailingLibVlcStartIsAnError)
{
    EXPECT_THROW(VlcMediaPlayer({"--no-such-option"}), MediaPlayerError);
}

TEST_F(VlcMediaPlayerTest, PlaysPausesResumesAndStops)
{
    const int movie = player_.Add(Url("movie.ts"), {});
    player_.PlayItem(movie);
    ASSERT_TRUE(WaitForItem(movie, kInputPlaying));
    EXPECT_TRUE(player_.IsPlaying());

    player_.TogglePause();
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPaused; }));
    EXPECT_TRUE(player_.IsPlaying());
    player_.TogglePause();
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));
    player_.TogglePause();
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPaused; }));
    player_.Play();
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));

    player_.Stop();
    EXPECT_EQ(player_.InputState(), kInputNone);
    EXPECT_FALSE(player_.IsPlaying());
    EXPECT_EQ(player_.ItemCount(), 1);
}

TEST_F(VlcMediaPlayerTest, InputStateIsNoneWhenTheLastItemHasEnded)
{
    const int ad = player_.Add(Url("ad.ts"), {});
    player_.PlayItem(ad);
    ASSERT_TRUE(WaitForItem(ad, kInputPlaying));
    EXPECT_TRUE(SpinUntil([&] { return player_.InputState() == kInputNone; }));
    EXPECT_FALSE(player_.IsPlaying());
}

// The player adds the advertisement, then the movie, and asks for the movie.
TEST_F(VlcMediaPlayerTest, AdvertisementAddedBeforeTheMoviePlaysFirstEachWithItsOwnOptions)
{
    const int ad = player_.Add(Url("ad.ts"), {});
    const int movie = player_.Add(Url("movie.ts"), {":start-paused"});
    player_.PlayItem(movie);
    ASSERT_TRUE(WaitForItem(ad, kInputPlaying));
    // The movie follows by itself and, by its own option, starts paused.
    EXPECT_TRUE(WaitForItem(movie, kInputPaused));
}

TEST_F(VlcMediaPlayerTest, PlayItemPlaysItemsNotStartedYetFirstAndStartedOnesDirectly)
{
    const int a = player_.Add(Url("ad.ts"), {});
    const int b = player_.Add(Url("movie.ts"), {});
    player_.PlayItem(b);
    EXPECT_EQ(player_.CurrentItem(), a);
    player_.PlayItem(b);
    EXPECT_EQ(player_.CurrentItem(), b);
    player_.PlayItem(a);
    EXPECT_EQ(player_.CurrentItem(), a);
    const int c = player_.Add(Url("movie.ts"), {});
    player_.PlayItem(c);
    EXPECT_EQ(player_.CurrentItem(), c);
    EXPECT_TRUE(WaitForItem(c, kInputPlaying));
}

TEST_F(VlcMediaPlayerTest, ItemThatFailsToOpenIsSkipped)
{
    player_.Add(Url("missing.ts"), {});
    player_.Add("http://127.0.0.1:1/refused.ts", {});
    const int movie = player_.Add(Url("movie.ts"), {});
    player_.PlayItem(movie);
    EXPECT_TRUE(WaitForItem(movie, kInputPlaying));
}

// The player's options mix both spellings, and may hold empty entries.
TEST_F(VlcMediaPlayerTest, OptionsReachTheItemWithOrWithoutLeadingColon)
{
    for (const char* startPaused : {":start-paused", "start-paused"}) {
        SCOPED_TRACE(startPaused);
        player_.ClearItems();
        const int movie = player_.Add(Url("movie.ts"), {":vout-filter=deinterlace",
            ":deinterlace-mode=linear", "http-caching=4000", "", startPaused});
        player_.PlayItem(movie);
        EXPECT_TRUE(WaitForItem(movie, kInputPaused));
    }
}

TEST_F(VlcMediaPlayerTest, ItemIdsAreUniqueAndLiveUntilTheListIsCleared)
{
    const int a = player_.Add(Url("ad.ts"), {});
    const int b = player_.Add(Url("movie.ts"), {});
    EXPECT_NE(a, b);
    EXPECT_EQ(player_.ItemCount(), 2);
    EXPECT_THROW(player_.PlayItem(b + 1), MediaPlayerError);

    player_.PlayItem(a);
    ASSERT_TRUE(WaitForItem(a, kInputPlaying));
    player_.ClearItems();
    EXPECT_EQ(player_.ItemCount(), 0);
    EXPECT_EQ(player_.InputState(), kInputNone);
    EXPECT_EQ(player_.CurrentItem(), -1);
    EXPECT_THROW(player_.PlayItem(a), MediaPlayerError);

    const int c = player_.Add(Url("movie.ts"), {});
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    player_.PlayItem(c);
    EXPECT_TRUE(WaitForItem(c, kInputPlaying));
}

TEST_F(VlcMediaPlayerTest, RateIsSetAndRead)
{
    player_.PlayItem(player_.Add(Url("movie.ts"), {}));
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));
    for (double rate : {2.0, 0.25, 4.0, 1.0}) {
        player_.SetRate(rate);
        EXPECT_EQ(player_.Rate(), rate);
    }
    for (double rate : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(player_.SetRate(rate), MediaPlayerError) << rate;
    EXPECT_EQ(player_.Rate(), 1.0);
}

TEST_F(VlcMediaPlayerTest, VolumeIsZeroTo200)
{
    for (int volume : {0, 100, 200})
        EXPECT_NO_THROW(player_.SetVolume(volume)) << volume;
    for (int volume : {-1, 201, std::numeric_limits<int>::min()})
        EXPECT_THROW(player_.SetVolume(volume), MediaPlayerError) << volume;
}

// libVLC has no audio output after a Stop; the wanted state must not get lost there.
TEST_F(VlcMediaPlayerTest, MuteTogglesWithAndWithoutAudioOutput)
{
    EXPECT_FALSE(player_.Mute());
    player_.ToggleMute();
    EXPECT_TRUE(player_.Mute());

    player_.PlayItem(player_.Add(Url("movie.ts"), {}));
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));
    EXPECT_TRUE(player_.Mute());
    player_.ToggleMute();
    EXPECT_FALSE(player_.Mute());

    player_.Stop();
    player_.ToggleMute();
    EXPECT_TRUE(player_.Mute());
    player_.Play();
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));
    EXPECT_TRUE(player_.Mute());
}

TEST_F(VlcMediaPlayerTest, AspectRatioIsWidthColonHeightOrEmpty)
{
    for (const char* ratio : {"16:9", "4:3", "221:100", ""})
        EXPECT_NO_THROW(player_.SetAspectRatio(ratio)) << ratio;
    for (const char* ratio : {"wide", "16:0", "0:9", "1.85:1", "16:9:1", " 16:9", "-4:3"})
        EXPECT_THROW(player_.SetAspectRatio(ratio), MediaPlayerError) << ratio;
}

TEST_F(VlcMediaPlayerTest, FullscreenMovesTheVideoToItsOwnWindowAndBack)
{
    QWidget* video = player_.VideoWidget();
    video->show();
    QWidget* surface = video->findChild<QWidget*>();
    ASSERT_NE(surface, nullptr);
    player_.PlayItem(player_.Add(Url("movie.ts"), {}));
    ASSERT_TRUE(SpinUntil([&] { return player_.InputState() == kInputPlaying; }));

    player_.ToggleFullscreen();
    EXPECT_TRUE(player_.Fullscreen());
    QWidget* window = surface->window();
    EXPECT_EQ(window->objectName(), VlcMediaPlayer::kFullscreenWindowName);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(surface->isVisible());

    player_.ToggleFullscreen();
    EXPECT_FALSE(player_.Fullscreen());
    EXPECT_EQ(surface->parentWidget(), video);
    EXPECT_TRUE(surface->isVisible());
    EXPECT_FALSE(window->isVisible());

    // A double click on the video enters full screen; closing the window leaves it.
    QTest::mouseDClick(surface, Qt::LeftButton);
    EXPECT_TRUE(SpinUntil([&] { return player_.Fullscreen(); }));
    window->close();
    EXPECT_FALSE(player_.Fullscreen());
    EXPECT_EQ(surface->parentWidget(), video);
    EXPECT_EQ(player_.InputState(), kInputPlaying);
}

// libVLC must not draw into a window that is gone, wherever the video is shown.
TEST_F(VlcMediaPlayerTest, DestroyingTheVideoWidgetStopsPlayback)
{
    for (bool fullscreen : {false, true}) {
        SCOPED_TRACE(fullscreen ? "full screen" : "in the widget");
        VlcMediaPlayer player(kHeadless);
        const int movie = player.Add(Url("movie.ts"), {});
        player.PlayItem(movie);
        ASSERT_TRUE(SpinUntil([&] { return player.InputState() == kInputPlaying; }));
        if (fullscreen)
            player.ToggleFullscreen();

        delete player.VideoWidget();
        EXPECT_EQ(player.VideoWidget(), nullptr);
        EXPECT_EQ(player.InputState(), kInputNone);
        EXPECT_FALSE(player.Fullscreen());
        EXPECT_THROW(player.PlayItem(movie), MediaPlayerError);
        EXPECT_THROW(player.ToggleFullscreen(), MediaPlayerError);
        EXPECT_THROW(player.SetVisible(true), MediaPlayerError);
    }
}

} // namespace
} // namespace lodgeview
