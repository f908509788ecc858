#include "player/config/IniFile.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TempFolder.h"

namespace lodgeview {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using ::testing::ElementsAre;

class IniFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.Path(name); }

    TempFolder folder_;
};

// Mixed line endings, blanks everywhere, a comment, an empty value, duplicate keys and sections.
constexpr char kSettings[] = "; lodgeview settings\n"
                             "[Options]\r\n"
                             "  Volume =  12 \t\r\n"
                             "Url=http://vod/a?b=c|d \n"
                             "VOLUME=99\n"
                             "Empty=\n"
                             "\n"
                             " [ Network ] ; uplink\n"
                             "Host\t= 10.0.0.1\r\n"
                             "[OPTIONS]\n"
                             "Late=yes\n";

TEST_F(IniFileTest, ReadsFirstMatchIgnoringCaseAndBlanks)
{
    folder_.Put("settings.ini", kSettings);
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Options", "Volume", "12"},
        {"options", "VOLUME", "12"},
        {" Options\t", " Volume ", "12"},
        {"Options", "Url", "http://vod/a?b=c|d"},
        {"Options", "Empty", ""},
        {"network", "HOST", "10.0.0.1"},
        {"Options", "Late", "(default)"}, // only in the second [OPTIONS]
        {"Options", "Missing", "(default)"},
        {"Missing", "Volume", "(default)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadIniText(Path("settings.ini"), c.section, c.key, "(default)"), c.expected)
            << "[" << c.section << "] " << c.key;
}

TEST_F(IniFileTest, MissingFileReadsDefaultAndIsNotCreated)
{
    EXPECT_EQ(ReadIniText(Path("none.ini"), "Options", "Volume", "7"), "7");
    EXPECT_FALSE(IniSectionExists(Path("none.ini"), "Options"));
    EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(IniFileTest, CutsValueAndDefaultToMaxLength)
{
    const std::string longValue(3000, 'v');
    folder_.Put("long.ini", "[A]\nlong=" + longValue + "\nshort=   abcdef  \n");
    const std::string file = Path("long.ini");
    EXPECT_EQ(ReadIniText(file, "A", "long", ""), longValue.substr(0, kPlayerIniValueMax));
    EXPECT_EQ(ReadIniText(file, "A", "long", "", kToolIniValueMax), longValue.substr(0, kToolIniValueMax));
    EXPECT_EQ(ReadIniText(file, "A", "long", "", kSetupPanelIniValueMax), longValue.substr(0, kSetupPanelIniValueMax));
    EXPECT_EQ(ReadIniText(file, "A", "short", "", 6), "abcdef");
    EXPECT_EQ(ReadIniText(file, "A", "short", "", 3), "abc"); // trimmed before it is cut
    EXPECT_EQ(ReadIniText(file, "A", "missing", "defaultvalue", 7), "default");
}

TEST_F(IniFileTest, FileNameMatchesIgnoringCase)
{
    folder_.Put("NGTV.INI", "[Setup]\r\nRoom=101\r\n");
    EXPECT_EQ(ReadIniText(Path("NGTV.ini"), "Setup", "Room", ""), "101");
    WriteIniText(Path("ngtv.ini"), "Setup", "Room", "102");
    EXPECT_EQ(folder_.Get("NGTV.INI"), "[Setup]\r\nRoom=102\r\n");
    EXPECT_THAT(folder_.Names(), ElementsAre("NGTV.INI"));

    folder_.Put("ngtv.ini", "[Setup]\r\nRoom=201\r\n");
    EXPECT_EQ(ReadIniText(Path("ngtv.ini"), "Setup", "Room", ""), "201"); // the exact name comes first
}

TEST(IniFileWrite, ChangesOneKeyKeepingEveryOtherLine)
{
    const struct {
        const char* name;
        const char* before; // nullptr: no file
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"replaces a key keeping its spelling",
            "; header\n[Options]\r\n  Volume = 1 \n\n; mute\r\nMute=0\n[Other]\r\nVolume=5\r\n", "OPTIONS", "volume",
            "7", "; header\n[Options]\r\nVolume=7\r\n\n; mute\r\nMute=0\n[Other]\r\nVolume=5\r\n"},
        {"adds a key after the section's last non-blank line", "[A]\r\nx=1\n; note\n\n\r\n[B]\ny=2", "a", "z", "3",
            "[A]\r\nx=1\n; note\nz=3\r\n\n\r\n[B]\ny=2"},
        {"adds a key right after a bare header", "[A]\n\n[B]\n", "A", "z", "3", "[A]\nz=3\r\n\n[B]\n"},
        {"adds a key after an unterminated last line", "[A]\nx=1", "A", "z", "3", "[A]\nx=1\r\nz=3\r\n"},
        {"replaces an unterminated last line", "[A]\nz=1", "A", "z", "3", "[A]\nz=3\r\n"},
        {"adds a missing section at the end", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\r\nk=v\r\n"},
        {"ends an unterminated last line before a new section", "[A]\nx=1", "B", "k", "v",
            "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
        {"writes into the first of duplicate sections and keys", "[A]\nk=1\nk=2\n[a]\nk=3\n", "A", "K", "9",
            "[A]\nk=9\r\nk=2\n[a]\nk=3\n"},
        {"ignores keys before the first section", "k=0\n[A]\nk=1\n", "A", "k", "2", "k=0\n[A]\nk=2\r\n"},
        {"keeps '=' and '|' in a value", "[A]\n", "A", "Url", "http://vod/a?b=c|d", "[A]\nUrl=http://vod/a?b=c|d\r\n"},
        {"fills an empty file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"creates a missing file", nullptr, "S", "k", "v", "[S]\r\nk=v\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        if (c.before != nullptr)
            folder.Put("test.ini", c.before);
        WriteIniText(folder.Path("test.ini"), c.section, c.key, c.value);
        EXPECT_EQ(folder.Get("test.ini"), c.after);
        EXPECT_EQ(ReadIniText(folder.Path("test.ini"), c.section, c.key, "(default)"), c.value);
        EXPECT_THAT(folder.Names(), ElementsAre("test.ini")); // no temporary file left behind
    }
}

TEST_F(IniFileTest, AddsSectionOnlyWhenMissing)
{
    folder_.Put("s.ini", "[Keep]\nk=1");
    AddIniSection(Path("s.ini"), " keep ");
    EXPECT_EQ(folder_.Get("s.ini"), "[Keep]\nk=1");
    AddIniSection(Path("s.ini"), "New");
    EXPECT_EQ(folder_.Get("s.ini"), "[Keep]\nk=1\r\n[New]\r\n");
    EXPECT_TRUE(IniSectionExists(Path("s.ini"), "NEW"));
    EXPECT_FALSE(IniSectionExists(Path("s.ini"), "Other"));
}

TEST_F(IniFileTest, KeepsPermissionBitsAndCreatesWithUmask)
{
    folder_.Put("old.ini", "[A]\nk=1\n");
    fs::permissions(Path("old.ini"), fs::perms(0604));
    WriteIniText(Path("old.ini"), "A", "k", "2");
    EXPECT_EQ(fs::status(Path("old.ini")).permissions(), fs::perms(0604));

    const mode_t saved = ::umask(027);
    WriteIniText(Path("new.ini"), "A", "k", "1");
    ::umask(saved);
    EXPECT_EQ(fs::status(Path("new.ini")).permissions(), fs::perms(0640));
}

TEST_F(IniFileTest, WritesThroughSymbolicLink)
{
    folder_.Put("shared.ini", "[A]\nk=1\n");
    fs::create_symlink("shared.ini", Path("link.ini"));
    WriteIniText(Path("link.ini"), "A", "k", "2");
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(folder_.Get("shared.ini"), "[A]\nk=2\r\n");
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldCorruptTheFile)
{
    const std::string original = "[A]\nk=1\n";
    folder_.Put("s.ini", original);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"", "k", "v"},
        {" \t", "k", "v"},
        {"A]B", "k", "v"},
        {"A\rB", "k", "v"},
        {"A\nB", "k", "v"},
        {"A", "", "v"},
        {"A", " ", "v"},
        {"A", "k=x", "v"},
        {"A", "k\r", "v"},
        {"A", "k\nx", "v"},
        {"A", "[k]", "v"},
        {"A", "k", "a\rb"},
        {"A", "k", "a\n"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(WriteIniText(Path("s.ini"), c.section, c.key, c.value), std::invalid_argument)
            << "[" << c.section << "] " << c.key << "=" << c.value;
    EXPECT_THROW(AddIniSection(Path("s.ini"), "A]B"), std::invalid_argument);
    EXPECT_EQ(folder_.Get("s.ini"), original);
}

// Runs `body` in a child process and returns its exit status. `unprivileged` drops root to nobody
// first, since root ignores permission bits.
int RunInChild(bool unprivileged, const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (unprivileged && ::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(IniFileWrite, FailureThrowsAndLeavesOldFileIntact)
{
    const struct {
        const char* name;
        fs::perms folder;
        fs::perms file;
        bool unprivileged;
        rlim_t sizeLimit;
    } cases[] = {
        {"read-only folder", fs::perms(0555), fs::perms(0644), true, RLIM_INFINITY},
        {"unreadable file", fs::perms(0777), fs::perms(0000), true, RLIM_INFINITY},
        {"file size limit hit while writing", fs::perms(0700), fs::perms(0644), false, 8},
    };
    const std::string original = "; keep\r\n[A]\nk=old\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string file = folder.Path("settings.ini");
        folder.Put("settings.ini", original);
        fs::permissions(file, c.file);
        fs::permissions(folder.path(), c.folder);

        // 0: IniError naming the file, 1: no error, 2: IniError without the name, 3: another exception.
        const int outcome = RunInChild(c.unprivileged, [&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.sizeLimit, c.sizeLimit};
            if (c.sizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 101;
            try {
                WriteIniText(file, "A", "k", "new value");
                return 1;
            } catch (const IniError& e) {
                return std::string(e.what()).find(file) != std::string::npos ? 0 : 2;
            } catch (...) {
                return 3;
            }
        });

        EXPECT_EQ(outcome, 0);
        fs::permissions(folder.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(folder.Get("settings.ini"), original);
        EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
    }
}

} // namespace
} // namespace lodgeview
