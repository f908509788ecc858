// VlcMediaPlayer with the substitute VOD server: the addresses IF-SCS-14 hands out play, the
// advertisement before the movie, each from the position its "&POS=" asks for.
#include "player/controls/media/VlcMediaPlayer.h"

#include "SpinEventLoop.h"
#include "SampleVodServer.h"
#include "player/service/ServiceExchange.h"

#include <gtest/gtest.h>

namespace lodgeview {
namespace {

TEST(VlcMediaPlayerWithVodServer, AdvertisementThenMovieFromTheServersAddresses)
{
    test::SampleVodServer server;

    CurlHttpClient http;
    const ServiceReply reply = ServiceClient({"127.0.0.1", server.portSuffix()}, http)
                                   .ServiceRequest("IF-SCS-14", PlayRecord({{"TP_VIEW", "20"}, {"NO_ROOM", "100"},
                                                                            {"ID_MAC", "52:54:00:12:34:5F"},
                                                                            {"NO_HDD_SERIAL", "00000000"},
                                                                            {"ID_EQUIP", "1"}, {"ID_MOVIE", "M1001"}}));
    ASSERT_TRUE(reply.Succeeded());
    const std::string ad = reply.Result("URL_ADV_MOVIE"), movie = reply.Result("URL_MOVIE");
    ASSERT_FALSE(ad.empty());

    VlcMediaPlayer player({"--aout=adummy", "--vout=dummy", "--quiet"});
    const std::vector<std::string> itemOptions = {":vout-filter=deinterlace", ":deinterlace-mode=linear", "http-caching=300"};
    // The last second of the advertisement, then the movie from 90 %.
    const int adId = player.Add(ad + "&POS=0.8", itemOptions);
    const int movieId = player.Add(movie + "&POS=0.9", itemOptions);
    player.PlayItem(adId);
    EXPECT_TRUE(test::SpinUntil([&] { return player.CurrentItem() == adId && player.InputState() == kInputPlaying; }, std::chrono::seconds(10)));
    EXPECT_TRUE(test::SpinUntil([&] { return player.CurrentItem() == movieId && player.InputState() == kInputPlaying; }, std::chrono::seconds(10)));
    player.Stop();
    EXPECT_EQ(player.InputState(), kInputNone);
}

} // namespace
} // namespace lodgeview
