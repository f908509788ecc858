// vodserver: the substitute VOD server program. See HelpText() or devserver/README.md.
#include "devserver/Options.h"
#include "devserver/VodServer.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <pthread.h>

int main(int argc, char** argv)
{
    using namespace lodgeview::devserver;

    CommandLine line;
    try {
        line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vodserver: %s (see vodserver --help)\n", e.what());
        return 2;
    }
    if (line.help) {
        std::fputs(HelpText(), stdout);
        return 0;
    }
    if (line.printCatalogue) {
        std::fputs(DefaultCatalogueXml(), stdout);
        return 0;
    }

    // The server's threads inherit the mask, so only sigwait below sees these signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        VodServer server(line.options);
        server.Start();
        std::printf("vodserver listening host=%s port=%d\n", line.options.host.c_str(), server.Port());
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vodserver: %s\n", e.what());
        return 1;
    }
    return 0;
}
