#include "platform/Registry.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "player/config/IniFile.h"

namespace lodgeview {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Sets (nullptr: unsets) an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = ::getenv(name))
            saved_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(saved_ ? saved_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value) const
    {
        if (value != nullptr)
            ::setenv(name_.c_str(), value, 1);
        else
            ::unsetenv(name_.c_str());
    }

    std::string name_;
    std::optional<std::string> saved_;
};

constexpr char kKey[] = "Software\\Nestgate\\";

class RegistryTest : public ::testing::Test {
protected:
    TempFolder folder_;
    // The folder does not exist yet: the first write creates it.
    const std::string file_ = folder_.Path("config/Nestgate/registry.ini");
    const ScopedEnv registry_{"NESTGATE_REGISTRY", file_.c_str()};
};

TEST(RegistryFilePath, FollowsEnvironment)
{
    const struct {
        const char* registry;
        const char* xdg;
        const char* expected;
    } cases[] = {
        {"/srv/reg.ini", "/xdg", "/srv/reg.ini"},
        {"", "/xdg", "/xdg/Nestgate/registry.ini"},
        {nullptr, "/xdg", "/xdg/Nestgate/registry.ini"},
        {nullptr, nullptr, "/home/guest/.config/Nestgate/registry.ini"},
        {nullptr, "", "/home/guest/.config/Nestgate/registry.ini"},
        {nullptr, "relative", "/home/guest/.config/Nestgate/registry.ini"},
    };
    const ScopedEnv home("HOME", "/home/guest");
    for (const auto& c : cases) {
        const ScopedEnv registry("NESTGATE_REGISTRY", c.registry);
        const ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(RegistryFilePath(), c.expected)
            << (c.registry ? c.registry : "(unset)") << " " << (c.xdg ? c.xdg : "(unset)");
    }
}

TEST_F(RegistryTest, ReadCreatesKeyOnce)
{
    EXPECT_EQ(ReadRegText(kKey, "Room"), "");
    EXPECT_EQ(ReadRegText("software\\nestgate", "Room"), "");
    EXPECT_EQ(folder_.Get("config/Nestgate/registry.ini"), "[Software\\Nestgate]\r\n");
}

TEST_F(RegistryTest, WriteToMissingKeyReturnsFalseAndWritesNothing)
{
    EXPECT_FALSE(WriteRegValue(kKey, "Room", "101"));
    EXPECT_FALSE(fs::exists(file_));

    ReadRegText("Software\\Other\\", "x");
    EXPECT_FALSE(WriteRegValue(kKey, "Room", "101"));
    EXPECT_EQ(folder_.Get("config/Nestgate/registry.ini"), "[Software\\Other]\r\n");
}

TEST_F(RegistryTest, WrittenValueReadsBackUncut)
{
    const std::string longValue(5000, 'x');
    ReadRegText(kKey, "Room");
    EXPECT_TRUE(WriteRegValue(kKey, "Room", "101", RegValueKind::Integer));
    EXPECT_TRUE(WriteRegValue("SOFTWARE\\Nestgate", "room", "102", RegValueKind::Integer));
    EXPECT_TRUE(WriteRegValue(kKey, "Banner", longValue));
    EXPECT_TRUE(WriteRegValue(kKey, "Menu", "Movies=1|News=2", RegValueKind::String));
    EXPECT_EQ(ReadRegText(kKey, "ROOM"), "102");
    EXPECT_EQ(ReadRegText(kKey, "Banner"), longValue);
    EXPECT_EQ(ReadRegText(kKey, "Menu"), "Movies=1|News=2");
}

TEST_F(RegistryTest, ChecksIntegerAndBooleanValues)
{
    ReadRegText(kKey, "x");
    const struct {
        RegValueKind kind;
        const char* value;
        bool valid;
    } cases[] = {
        {RegValueKind::Integer, "0", true},
        {RegValueKind::Integer, "-2147483648", true},
        {RegValueKind::Integer, "2147483647", true},
        {RegValueKind::Integer, "2147483648", false},
        {RegValueKind::Integer, "-2147483649", false},
        {RegValueKind::Integer, "", false},
        {RegValueKind::Integer, "12a", false},
        {RegValueKind::Integer, " 12", false},
        {RegValueKind::Integer, "1.5", false},
        {RegValueKind::Boolean, "0", true},
        {RegValueKind::Boolean, "1", true},
        {RegValueKind::Boolean, "2", false},
        {RegValueKind::Boolean, "true", false},
        {RegValueKind::Boolean, "", false},
        {RegValueKind::Float, "1.5", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " as kind " + std::to_string(static_cast<int>(c.kind)));
        WriteRegValue(kKey, "Value", "before");
        if (c.valid) {
            EXPECT_TRUE(WriteRegValue(kKey, "Value", c.value, c.kind));
            EXPECT_EQ(ReadRegText(kKey, "Value"), c.value);
        } else {
            EXPECT_THROW(WriteRegValue(kKey, "Value", c.value, c.kind), std::invalid_argument);
            EXPECT_EQ(ReadRegText(kKey, "Value"), "before");
        }
    }
}

} // namespace
} // namespace lodgeview
