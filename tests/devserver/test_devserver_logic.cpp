// The substitute VOD server's logic without HTTP: catalogue reading, clip cutting, position
// tracking, fault and command-line settings, log lines.
#include "devserver/Catalogue.h"
#include "devserver/Faults.h"
#include "devserver/Options.h"
#include "devserver/RequestLog.h"
#include "devserver/Terminals.h"
#include "devserver/TsClip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace lodgeview::devserver {
namespace {

const std::string kMedia = LODGEVIEW_DEVSERVER_MEDIA;

TEST(Catalogue, DefaultOffersEveryKindOfTitle)
{
    const Catalogue c = Catalogue::Default();
    EXPECT_EQ(c.site, "한빛모텔");
    EXPECT_GT(c.connectCount, 0);
    auto any = [&](auto pred) { return std::any_of(c.titles.begin(), c.titles.end(), pred); };
    EXPECT_TRUE(any([](const Title& t) { return !t.IsPaid() && t.ppv == "N"; })) << "free";
    EXPECT_TRUE(any([](const Title& t) { return t.IsPaid() && !t.IsAdult(); })) << "paid";
    EXPECT_TRUE(any([](const Title& t) { return t.ppv == "Y" && t.price == 0; })) << "IS_PPV Y at price 0";
    EXPECT_TRUE(any([](const Title& t) { return !t.ad.empty(); })) << "with an advertisement";
    EXPECT_TRUE(any([](const Title& t) { return t.rating == "X"; }));
    EXPECT_TRUE(any([](const Title& t) { return t.rating == "Y"; }));
    EXPECT_TRUE(any([](const Title& t) { return t.preview == "Y" && !t.previewMs.empty(); })) << "preview";
    ASSERT_NE(c.Find("M2001"), nullptr);
    EXPECT_EQ(c.Find("nope"), nullptr);
    EXPECT_EQ(c.Clips(), (std::vector<std::string>{"movie.ts", "ad.ts", "preview.ts"}));
}

TEST(Catalogue, FileValuesAndDefaults)
{
    const Catalogue c = Catalogue::FromXml(
        "<catalogue site='S' connect-count='9'><title id='a-1' name='이름' clip='m.ts'/>"
        "<title id='B_2' name='n' clip='m.ts' ad='x.ts' ppv='Y' price='1500' rating='Y' preview='Y' preview-ms='90000'/>"
        "</catalogue>");
    EXPECT_EQ(c.site, "S");
    EXPECT_EQ(c.connectCount, 9);
    ASSERT_EQ(c.titles.size(), 2u);
    const Title& plain = c.titles[0];
    EXPECT_EQ(plain.name, "이름");
    EXPECT_EQ(plain.ad, "");
    EXPECT_EQ(plain.ppv, "N");
    EXPECT_EQ(plain.price, 0);
    EXPECT_EQ(plain.rating, "G");
    EXPECT_EQ(plain.preview, "N");
    EXPECT_EQ(plain.previewMs, "");
    const Title& full = c.titles[1];
    EXPECT_TRUE(full.IsPaid());
    EXPECT_TRUE(full.IsAdult());
    EXPECT_EQ(full.previewMs, "90000");
}

TEST(Catalogue, RefusesWhatItCannotServe)
{
    const char* bad[] = {
        "not xml",
        "<titles/>",
        "<catalogue colour='red'/>",
        "<catalogue><film/></catalogue>",
        "<catalogue><title name='n' clip='m.ts'/></catalogue>",
        "<catalogue><title id='a b' name='n' clip='m.ts'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='m.ts'/><title id='a' name='n' clip='m.ts'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='../m.ts'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='m.ts' price='-5'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='m.ts' rating='X|Y'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='m.ts' preview-ms='1.5'/></catalogue>",
        "<catalogue><title id='a' name='n' clip='m.ts' length='5'/></catalogue>",
    };
    for (const char* xml : bad)
        EXPECT_THROW(Catalogue::FromXml(xml), CatalogueError) << xml;
    EXPECT_THROW(Catalogue::FromFile("/no/such/catalogue.xml"), CatalogueError);
}

TEST(TsClip, CutsAtProgramTablesBeforeKeyFrames)
{
    const TsClip clip = TsClip::FromFile(kMedia + "/movie.ts");
    EXPECT_NEAR(clip.DurationSeconds(), 60.0, 0.1);
    const std::string& bytes = *clip.Bytes();
    EXPECT_EQ(clip.CutOffset(0), 0u);
    EXPECT_EQ(clip.CutOffset(-1), 0u);
    EXPECT_EQ(clip.CutOffset(1), bytes.size());
    std::size_t previous = 0;
    for (double fraction : {0.1, 0.25, 0.5, 0.75, 0.99}) {
        const std::size_t at = clip.CutOffset(fraction);
        ASSERT_EQ(at % TsClip::kPacketSize, 0u) << fraction;
        const auto* packet = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
        EXPECT_EQ(packet[0], 0x47);
        EXPECT_EQ((packet[1] & 0x1F) << 8 | packet[2], 0) << "a PAT at " << fraction;
        EXPECT_NEAR(double(at) / double(bytes.size()), fraction, 0.03) << "constant bit rate test picture";
        EXPECT_GT(at, previous);
        previous = at;
    }
}

TEST(TsClip, RefusesWhatIsNoVideoStream)
{
    std::string noVideo(188 * 4, '\xFF');
    for (std::size_t at = 0; at < noVideo.size(); at += 188)
        noVideo[at] = 0x47;
    std::string lostSync = noVideo;
    lostSync[376] = 0;
    for (const std::string& bytes : {std::string(), std::string(187, '\x47'), lostSync, noVideo})
        EXPECT_THROW(TsClip{bytes}, ClipError) << bytes.size();
    EXPECT_THROW(TsClip::FromFile(kMedia + "/no-such.ts"), ClipError);
}

TEST(PlayTracker, AdvancesFromTheLastStartByWallClockTime)
{
    PlayTracker tracker;
    const auto t0 = PlayTracker::Clock::time_point{} + std::chrono::hours(1);
    EXPECT_FALSE(tracker.Position("AA", t0));
    tracker.Start("AA", 0.5, 60, t0);
    EXPECT_NEAR(*tracker.Position("AA", t0 + std::chrono::seconds(6)), 0.6, 1e-9);
    EXPECT_EQ(*tracker.Position("AA", t0 + std::chrono::seconds(100)), 1.0) << "stays at the end";
    EXPECT_FALSE(tracker.Position("BB", t0)) << "per terminal";
    tracker.Start("AA", 0.25, 60, t0 + std::chrono::seconds(10));
    EXPECT_NEAR(*tracker.Position("AA", t0 + std::chrono::seconds(13)), 0.3, 1e-9) << "a new start replaces";
}

TEST(OrderBook, OrdersArePerTerminalAndTitle)
{
    OrderBook orders;
    EXPECT_FALSE(orders.Has("AA", "M1"));
    const std::string first = orders.Place("AA", "M1");
    EXPECT_NE(orders.Place("AA", "M1"), first) << "every purchase has its own number";
    EXPECT_TRUE(orders.Has("AA", "M1"));
    EXPECT_FALSE(orders.Has("BB", "M1"));
    EXPECT_FALSE(orders.Has("AA", "M2"));
}

TEST(Faults, SettingsFromTheCommandLineForm)
{
    const Fault delay = ParseFault("delay,ms=250,match=IF-SCS-14,count=2");
    EXPECT_EQ(delay.kind, FaultKind::Delay);
    EXPECT_EQ(delay.duration, std::chrono::milliseconds(250));
    EXPECT_EQ(delay.match, "IF-SCS-14");
    EXPECT_EQ(delay.count, 2);
    EXPECT_EQ(ParseFault("refuse").duration, std::chrono::milliseconds(3000));
    EXPECT_EQ(ParseFault("http-error,status=404").status, 404);
    EXPECT_EQ(ParseFault("no-success,code=E1").code, "E1");
    EXPECT_EQ(FaultJson(ParseFault("no-success,code=E\"1")), "{\"name\":\"no-success\",\"code\":\"E\\\"1\"}");

    for (const char* bad : {"", "explode", "delay,ms=-1", "delay,ms", "refuse,match=x", "http-error,status=200",
                            "cut-short,count=0", "broken-xml,colour=red"})
        EXPECT_THROW(ParseFault(bad), std::invalid_argument) << bad;
}

TEST(FaultSwitch, MatchesByCommandOrPathAndCountsDown)
{
    FaultSwitch faults;
    faults.Set(ParseFault("broken-xml,match=IF-SCS-14,count=2"));
    faults.Set(ParseFault("delay,match=/media/"));
    EXPECT_TRUE(faults.Take("IF-SCS-17", "/ZUVU_SCS/pcs.do").empty());
    EXPECT_EQ(faults.Take("", "/media/movie.ts").size(), 1u);
    EXPECT_EQ(faults.Take("IF-SCS-14", "/ZUVU_SCS/pcs.do").size(), 1u);
    EXPECT_EQ(faults.Take("IF-SCS-14", "/ZUVU_SCS/pcs.do").size(), 1u);
    EXPECT_TRUE(faults.Take("IF-SCS-14", "/ZUVU_SCS/pcs.do").empty()) << "used up";
    faults.Set(ParseFault("delay,ms=5"));
    ASSERT_EQ(faults.Active().size(), 1u) << "one switch per kind";
    EXPECT_EQ(faults.Active()[0].duration, std::chrono::milliseconds(5));
    faults.Clear();
    EXPECT_TRUE(faults.Active().empty());
}

TEST(CommandLine, OptionsAndTheirErrors)
{
    const CommandLine line = ParseCommandLine({"--port=0", "--host", "127.0.0.2", "--media", "/m", "--catalogue=c.xml",
                                               "--connect-count", "7", "--log", "l.jsonl", "--fault", "delay,ms=5",
                                               "--fault", "cut-short", "--announce", "9000", "--announce-interval=250"});
    const ServerOptions& o = line.options;
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.host, "127.0.0.2");
    EXPECT_EQ(o.mediaFolder, "/m");
    EXPECT_EQ(o.catalogueFile, "c.xml");
    EXPECT_EQ(o.connectCount, 7);
    EXPECT_EQ(o.logFile, "l.jsonl");
    EXPECT_EQ(o.faults.size(), 2u);
    ASSERT_TRUE(o.announce);
    EXPECT_EQ(o.announce->host, "127.0.0.1");
    EXPECT_EQ(o.announce->port, 9000);
    EXPECT_EQ(o.announce->interval, std::chrono::milliseconds(250));
    EXPECT_TRUE(ParseCommandLine({"-h"}).help);
    EXPECT_TRUE(ParseCommandLine({"--print-catalogue"}).printCatalogue);
    EXPECT_EQ(ParseCommandLine({}).options.port, 8080);

    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--port"}, {"--port", "70000"}, {"--port", "x"}, {"--fault", "nope"},
        {"--announce", "localhost:9"}, {"--announce", "1.2.3.4:0"}, {"--announce-interval", "100"},
    };
    for (const auto& args : bad)
        EXPECT_THROW(ParseCommandLine(args), std::invalid_argument) << args[0];
}

TEST(RequestLog, JsonLinesInOrderWithEscapedTexts)
{
    RequestLog log;
    LogEntry entry;
    entry.command = "IF-SCS-14";
    entry.record = "NM^한글\t\"q\"";
    entry.target = "/x?a=\xB0\xA1";
    entry.faults = {"delay"};
    log.Add(entry);
    log.Add(LogEntry{});
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].seq, 1);
    EXPECT_EQ(log.Entries(1).size(), 1u);
    const std::string json = RequestLog::Json(entries[0]);
    EXPECT_NE(json.find("\"record\":\"NM^한글\\u0009\\\"q\\\"\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"target\":\"/x?a=\\u00b0\\u00a1\""), std::string::npos) << "bytes that are not UTF-8";
    EXPECT_NE(json.find("\"faults\":[\"delay\"]"), std::string::npos);
    EXPECT_EQ(RequestLog::Json(entries[1]).find("\"record\""), std::string::npos) << "record only for commands";
    log.Clear();
    EXPECT_TRUE(log.Entries().empty());
}

} // namespace
} // namespace lodgeview::devserver
