// The logo overlay's picture list: display times from file names, the four folder variants, the
// files that count, logo.ini, and the export called by name from an outside host.
#include "logooverlay/LogoList.h"

#include "TempFolder.h"
#include "player/config/IniFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lodgeview {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

TEST(LogoDisplayTime, LeadingNumberOfTheFirstTenCharacters)
{
    const struct {
        const char* name;
        int ms;
    } cases[] = {
        {"5000_a.png", 5000}, {"b.png", 60000},      {"-100.png", 60000},          {"0.png", 60000},
        {"12345678901.png", 1234567890},             {"  750x.jpg", 750},          {"+42.png", 42},
        {"9999999999.png", 2147483647},              {"0000000300.png", 300},      {"", 60000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogoDisplayTime(c.name), c.ms) << c.name;
}

TEST(LogoFolder, FourVariants)
{
    const struct {
        const char* options;
        bool variant;
        const char* folder;
    } cases[] = {
        {"http-caching=4000", false, "/i/adv/logo/logo"},
        {":vout-filter=DeInterlace|sub-filter=logo", false, "/i/adv/logo/slogo"},
        {"", true, "/i/adv/logo/logoa"},
        {":deinterlace-mode=linear", true, "/i/adv/logo/slogoa"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogoFolder("/i/", c.options, c.variant), c.folder) << c.options;
}

class LogoListTest : public ::testing::Test {
protected:
    void Put(const std::string& relative, const std::string& bytes)
    {
        fs::create_directories((base.path() / relative).parent_path());
        base.Put(relative, bytes);
    }
    std::string Folder(const char* name) const { return (base.path() / "adv/logo" / name).string(); }
    TempFolder base;
};

TEST_F(LogoListTest, NonEmptyFilesOfTheFolderOnly)
{
    Put("adv/logo/logo/5000_a.png", "png");
    Put("adv/logo/logo/b.png", "png");
    Put("adv/logo/logo/empty.png", "");
    fs::create_directories(base.path() / "adv/logo/logo/7000_dir");
    Put("adv/logo/logo/7000_dir/inner.png", "png");
    Put("adv/logo/slogo/other.png", "png");

    const std::string list = BuildLogoList(Folder("logo"));
    const std::string a = Folder("logo") + "/5000_a.png, 5000, 200";
    const std::string b = Folder("logo") + "/b.png, 60000, 200";
    EXPECT_TRUE(list == a + ";" + b || list == b + ";" + a) << list;
    EXPECT_EQ(BuildLogoList(Folder("missing")), "");
}

TEST_F(LogoListTest, LogoIniWrittenEvenWhenEmpty)
{
    base.Put("NGTV.INI", "[PLAYER]\r\nOptions=:vout-filter=deinterlace\r\n");
    Put("adv/logo/slogoa/100.png", "png");
    const std::string dir = base.path().string() + "/";
    EXPECT_EQ(RebuildLogoIni(dir, true), Folder("slogoa") + "/100.png, 100, 200");
    EXPECT_EQ(ReadIniText(dir + "logo.ini", "LOGO", "logo-file", "?"), Folder("slogoa") + "/100.png, 100, 200");

    EXPECT_EQ(RebuildLogoIni(dir, false), "");
    EXPECT_EQ(base.Get("logo.ini"), "[LOGO]\r\nlogo-file=\r\n");
}

// The library from an outside host placed in an installation folder of its own: the list goes to
// logo.ini beside the host, whatever folder the library itself lives in.
TEST(OverlayKitLibrary, LogoChangeByNameWritesBesideItsHost)
{
    TempFolder install;
    fs::copy_file(LODGEVIEW_DLHOST, install.path() / "host");
    fs::create_directories(install.path() / "adv/logo/logo");
    install.Put("adv/logo/logo/3000.png", "png");
    const std::string command = (install.path() / "host").string() + " " + LODGEVIEW_OVERLAYKIT + " LogoChange 0 > " +
                                (install.path() / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(install.Get("out.txt"), "0\n");
    EXPECT_EQ(ReadIniText(install.Path("logo.ini"), "LOGO", "logo-file", "?"),
              (install.path() / "adv/logo/logo/3000.png").string() + ", 3000, 200");
}

} // namespace
} // namespace lodgeview
