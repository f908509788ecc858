// The vodserver program end to end: command line, the start-up line with its port, serving,
// the log file, and the end on SIGTERM.
#include "DevServerFixture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>

extern char** environ;

namespace lodgeview::devserver::test {
namespace {

const std::string kProgram = LODGEVIEW_VODSERVER;

// Output (standard output and error) and exit code of a run that ends by itself.
std::pair<std::string, int> RunToEnd(const std::string& arguments)
{
    std::FILE* pipe = ::popen((kProgram + " " + arguments + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// A running vodserver with its standard output on a pipe; ended with SIGKILL if a test
// leaves it running.
class RunningProgram {
public:
    explicit RunningProgram(const std::vector<std::string>& arguments)
    {
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int error = posix_spawn(&pid_, kProgram.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
        if (error != 0)
            throw std::runtime_error("cannot start " + kProgram);
    }
    ~RunningProgram()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
    }

    // The first line of standard output; "" when none comes within the time.
    std::string FirstLine(std::chrono::milliseconds within)
    {
        std::string line;
        pollfd p{out_, POLLIN, 0};
        while (line.find('\n') == std::string::npos && ::poll(&p, 1, int(within.count())) > 0) {
            char c;
            if (::read(out_, &c, 1) != 1)
                break;
            line += c;
        }
        return line;
    }

    // Sends the signal and waits; the exit code, or -1 when it did not exit normally.
    int Signal(int signal)
    {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

TEST(VodServerProgram, HelpAndCommandLineErrors)
{
    const auto [help, helpCode] = RunToEnd("--help");
    EXPECT_EQ(helpCode, 0);
    for (const char* part : {"--port", "--fault", "--announce", "/_control/log", "cut-short", "/ZUVU_SCS/pcs.do"})
        EXPECT_NE(help.find(part), std::string::npos) << part;

    const auto [error, errorCode] = RunToEnd("--port 0 --bogus");
    EXPECT_EQ(errorCode, 2);
    EXPECT_NE(error.find("unknown option --bogus"), std::string::npos) << error;

    const auto [missing, missingCode] = RunToEnd("--port 0 --media /no/such/folder");
    EXPECT_EQ(missingCode, 1);
    EXPECT_NE(missing.find("movie.ts"), std::string::npos) << missing;

    const auto [catalogue, catalogueCode] = RunToEnd("--print-catalogue");
    EXPECT_EQ(catalogueCode, 0);
    EXPECT_NO_THROW(Catalogue::FromXml(catalogue));
}

TEST(VodServerProgram, ServesUntilSignalledAndLogsToItsFile)
{
    lodgeview::test::TempFolder folder;
    const std::string logFile = folder.Path("requests.jsonl");
    RunningProgram program({"--port", "0", "--media", kMedia, "--log", logFile, "--connect-count", "7", "--fault",
                            "no-success,match=IF-SCS-23,count=1"});
    const std::string line = program.FirstLine(std::chrono::seconds(10));
    std::smatch port;
    ASSERT_TRUE(std::regex_search(line, port, std::regex("^vodserver listening host=127\\.0\\.0\\.1 port=([0-9]+)\n$")))
        << line;

    CurlHttpClient http;
    ServiceClient client({"127.0.0.1", ":" + port[1].str()}, http);
    EXPECT_EQ(client.FinderRequest("IF-ONS-37", "").Result("CONNECT_CNT"), "7");
    EXPECT_EQ(client.ServiceRequest("IF-SCS-23", TerminalRecord("M2001")).FailureCode(), "E900") << "fault from the start";
    EXPECT_EQ(client.ServiceRequest("IF-SCS-23", TerminalRecord("M2001")).Result("PRICE"), "3000");
    const std::string served = HttpGet("http://127.0.0.1:" + port[1].str() + "/_control/log");

    EXPECT_EQ(program.Signal(SIGTERM), 0);
    std::ifstream in(logFile);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written, served + "\n") << "the file holds what the control API showed";
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
    EXPECT_NE(written.find("\"cmd\":\"IF-ONS-37\",\"record\":\"\""), std::string::npos) << written;
    EXPECT_NE(written.find("\"faults\":[\"no-success\"]"), std::string::npos) << written;
}

} // namespace
} // namespace lodgeview::devserver::test
