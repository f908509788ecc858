// The player's settings from INI fixtures, and the start-up check: parameters, registry, site
// lookup.
#include "player/startup/DataModule.h"
#include "player/startup/StartupCheck.h"

#include "TempFolder.h"
#include "SampleVodServer.h"
#include "devserver/Faults.h"
#include "platform/Registry.h"
#include "player/service/ServiceExchange.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lodgeview {
namespace {

using test::TempFolder;
using Strings = std::vector<std::string>;

TEST(SplitDelimitedList, OptionsAndCaretLists)
{
    const struct {
        const char* text;
        const char* delimiter;
        Strings entries;
    } cases[] = {
        {"", "|", {}},
        {":a=1", "|", {":a=1"}},
        {":a|:b|c", "|", {":a", ":b", "c"}},
        {":a||c", "|", {":a", "", "c"}},
        {":a|", "|", {":a"}},
        {"|:a", "|", {"", ":a"}},
        {":a;;:b;;", ";;", {":a", ":b"}},
        {":a|:b", "", {":a|:b"}},
        {"avi^mp4^", "^", {"avi", "mp4"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitDelimitedList(c.text, c.delimiter), c.entries) << c.text << " at " << c.delimiter;
}

TEST(DataModule, DefaultsWithoutAnyFile)
{
    TempFolder folder;
    TDM dm;
    dm.DataModuleCreate(folder.path().string() + "/");
    EXPECT_EQ(dm.PortSuffix, "");
    EXPECT_EQ(dm.StartMode, "0");
    EXPECT_EQ(dm.OptionDelimiter, "|");
    EXPECT_EQ(dm.PlayerOptions, (Strings{":vout-filter=deinterlace", ":deinterlace-mode=linear", "http-caching=4000"}));
    EXPECT_FALSE(dm.IdentifyEnabled);
    EXPECT_FALSE(dm.CartoonEnabled);
    EXPECT_TRUE(dm.RatioList.empty());
    EXPECT_EQ(dm.RatioIndex, -1);
    EXPECT_EQ(dm.RoomNo, "100");
    EXPECT_EQ(dm.EquipId, "1");
}

TEST(DataModule, ReadsEveryKeyWhateverItsCase)
{
    TempFolder folder;
    folder.Put("NGTV.INI",
               "[http]\r\nport=8080\r\n[PLAYER]\r\ndefault_player=/usr/bin/mpv\r\nmode=1\r\ndelimiter=;\r\n"
               "options=:a;;sub-filter=logo\r\n[SEARCH]\r\nVIDEO_EXT=avi^mkv\r\n[VIDEO]\r\nRATIO=16:9\r\n");
    folder.Put("NGTV_CONFIG.INI", "[IDENTIFY]\r\nSELECTED=2\r\n");
    folder.Put("CARTOON.INI", "[PRODUCT_MODE]\r\nSELECTED=2\r\n");
    TDM dm;
    dm.DataModuleCreate(folder.path().string() + "/");
    EXPECT_EQ(dm.PortSuffix, ":8080");
    EXPECT_EQ(dm.DefaultPlayer, "/usr/bin/mpv");
    EXPECT_EQ(dm.StartMode, "1");
    EXPECT_EQ(dm.PlayerOptions, (Strings{":a", "", "sub-filter=logo"}));
    EXPECT_EQ(dm.VideoExtList, (Strings{"avi", "mkv"}));
    EXPECT_EQ(dm.RatioList, (Strings{"16:9"}));
    EXPECT_EQ(dm.RatioIndex, 0);
    EXPECT_TRUE(dm.IdentifyEnabled) << "2 or more enables the age check";
    EXPECT_FALSE(dm.CartoonEnabled) << "only exactly 1 enables the cartoon service";
}

TEST(DataModule, SelectedValues)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"1", 1}, {"0", 0}, {"-3", -3}, {"", 0}, {"yes", 0}, {"1x", 0}, {"99999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SelectedValue(c.text), c.value) << c.text;
}

// A registry file of the test's own and the substitute VOD server for the site lookup.
class StartupCheckTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("NESTGATE_REGISTRY", folder_.Path("registry.ini").c_str(), 1); }
    void TearDown() override { unsetenv("NESTGATE_REGISTRY"); }

    void SetPath(const std::string& path) { folder_.Put("registry.ini", "[Software\\Nestgate]\r\nPath=" + path + "\r\n"); }
    StartupOutcome Run(const Strings& args) { return RunStartupCheck(args, dm_, http_); }
    Strings Args() const { return {"127.0.0.1", server_.portSuffix()}; }
    std::vector<std::string> SiteLookups()
    {
        std::vector<std::string> records;
        for (const auto& entry : server_.server().Log().Entries())
            if (entry.command == "IF-SCS-17")
                records.push_back(entry.record.value_or("?"));
        return records;
    }

    TempFolder folder_;
    test::SampleVodServer server_;
    CurlHttpClient http_;
    TDM dm_;
};

TEST_F(StartupCheckTest, WrongParameterCountStopsWithTheCount)
{
    SetPath("/opt/lodgeview");
    for (const Strings& args : {Strings{}, Strings{"127.0.0.1"}, Strings{"a", "b", "c"}}) {
        const StartupOutcome outcome = Run(args);
        EXPECT_FALSE(outcome.proceed);
        EXPECT_EQ(outcome.message, "실행 파라메터가 부족해서 프로그램을 시작할 수 없습니다. [Count : " +
                                       std::to_string(args.size()) + "]");
    }
}

TEST_F(StartupCheckTest, MissingInstallPathStops)
{
    const StartupOutcome outcome = Run(Args());
    EXPECT_FALSE(outcome.proceed);
    EXPECT_EQ(outcome.message, "레지스트리에 실행 경로가 등록되지 않았습니다.. [Path : ]");
    EXPECT_TRUE(SiteLookups().empty());
}

TEST_F(StartupCheckTest, SiteNameStoredFetchedOrEmpty)
{
    SetPath("/opt/lodgeview");
    ASSERT_TRUE(Run(Args()).proceed);
    EXPECT_EQ(dm_.ServerHost, "127.0.0.1");
    EXPECT_EQ(dm_.PortSuffix, Args()[1]);
    EXPECT_EQ(dm_.SiteName, "한빛모텔");
    EXPECT_EQ(SiteLookups(), std::vector<std::string>{"TP_VIEW^20"});
    EXPECT_EQ(ReadRegText(kNestgateKey, "NM_SITE"), "한빛모텔");

    ASSERT_TRUE(Run(Args()).proceed);
    EXPECT_EQ(SiteLookups().size(), 1u) << "a stored name is not looked up again";

    // A failed lookup stores the empty name, so the next start asks again.
    WriteRegValue(kNestgateKey, "NM_SITE", "");
    for (const char* fault : {"no-success", "broken-xml", "http-error"}) {
        server_.server().ClearFaults();
        server_.server().SetFault(devserver::ParseFault(fault));
        ASSERT_TRUE(Run(Args()).proceed) << fault;
        EXPECT_EQ(dm_.SiteName, "") << fault;
        EXPECT_EQ(ReadRegText(kNestgateKey, "NM_SITE"), "") << fault;
    }
    EXPECT_EQ(SiteLookups().size(), 4u);
}

TEST(MainCaption, TwoBlanksBeforeTheSite)
{
    EXPECT_EQ(MainCaption(""), "Lodgeview TV");
    EXPECT_EQ(MainCaption("한빛모텔"), "Lodgeview TV  [한빛모텔]");
}

} // namespace
} // namespace lodgeview
