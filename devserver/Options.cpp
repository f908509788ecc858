#include "devserver/Options.h"

#include <stdexcept>

namespace lodgeview::devserver {
namespace {

constexpr char kHelp[] = R"(Usage: vodserver [options]

The project's substitute VOD server for development, tests and the demo. It answers the room
terminals as the building's server does: the enciphered service commands, the menu, mini-window,
cartoon and purchase pages, the movie streams, the ad/OSD list with its pictures, and UDP
announcements. It logs every request and can be told to fail.

On start it prints one line to standard output, then serves until SIGINT or SIGTERM:
  vodserver listening host=127.0.0.1 port=8080

Options:
  --host ADDR             listening address (default 127.0.0.1); use 127.0.0.2 and so on to run
                          several servers on one port, as the server finder expects
  --port N                HTTP port (default 8080, the terminals' default); 0 takes a free port
  --media DIR             folder of the clips (default devserver-media beside the executable,
                          which the build fills through scripts/gen_sample_media.sh)
  --adv DIR               folder of the ad/OSD pictures (default DIR/adv of --media)
  --catalogue FILE        XML catalogue of titles (default: the built-in one)
  --print-catalogue       print the built-in catalogue, a starting point for a file, and exit
  --connect-count N       the load figure IF-ONS-37 answers, replacing the catalogue's
  --log FILE              append every request to FILE as a JSON line
  --fault NAME[,K=V...]   switch a fault on from the start (repeatable; see below)
  --announce [HOST:]PORT  send UDP announcements to HOST (default 127.0.0.1) and PORT
  --announce-interval MS  time between announcements (default 1000)
  -h, --help              show this text and exit

Endpoints (http://HOST:PORT):
  /ZUVU_SCS/pcs.do, /ZUVU_SCS/scs.do   service commands IF-SCS-14, -15, -17, -23, IF-VLC-04,
                          -07, -30 (pcs.do), IF-ONS-37, -43 (scs.do); enciphered replies
  /ZUVU_SCS/adv.do?CMD=IF-ADV-01       ad/OSD list (plain XML in CP949); its files under
                          /ZUVU_SCS/adv/<CATEGORY>/<path>
  /ZUVU_MS/pc/movie.do, /ZUVU_MS/pc/new_movie.do   menu pages (click: TAVIRA_VIDEO= command)
  /ZUVU_MS/redirect.do?id_ban=21|22    mini-window banner and poster
  /ZUVU_MS/cartoon.do?CMD=IF_001       cartoon reply (plain XML with URL)
  /service/purchase/MVK_PURCHASE_INFO.PHP?NO_ROOM=&CONTENT_ID=&ID_MAC=   purchase page
  /media/<clip>?ID_MOVIE=...[&POS=fraction][&MAC=...]   MPEG-TS streams, from POS on

Control API (GET; never logged, never affected by faults):
  /_control/log[?since=SEQ]         the request log as JSON lines
  /_control/log/clear               empty the in-memory log
  /_control/fault?name=NAME[&K=V]   switch a fault on; name=none switches all off
  /_control/faults                  the faults switched on, as JSON
  /_control/announce?port=N[&host=ADDR][&interval=MS]   start announcements; ?stop=1 ends them

Faults (K=V settings in brackets):
  refuse [ms]                 close the listening socket for ms (default 3000)
  delay [ms]                  wait ms (default 2000) before each reply
  http-error [status]         answer with an HTTP error (default 500)
  broken-base64               enciphered replies that decode to no whole cipher block
  broken-xml                  XML replies without their last end tag
  no-success [code]           XML replies with MESSAGE not SUCCESS and CODE (default E900)
  no-length                   replies without Content-Length, ended by closing the connection
  cut-short                   close the connection after half of the Content-Length
  All but refuse also take match=CMD (e.g. match=IF-SCS-14) or match=/path-prefix, and count=N
  (only the next N matching requests).
)";

std::string Value(const std::vector<std::string>& args, std::size_t& i, const std::string& option,
                  const std::string& inlineValue, bool hasInline)
{
    if (hasInline)
        return inlineValue;
    if (i + 1 >= args.size())
        throw std::invalid_argument("option " + option + " needs a value");
    return args[++i];
}

long Whole(const std::string& option, const std::string& text, long low, long high)
{
    const bool digits = !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
    const long value = digits ? std::stol(text) : -1;
    if (value < low || value > high)
        throw std::invalid_argument("option " + option + " must be a whole number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ": \"" + text + "\"");
    return value;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    ServerOptions& o = line.options;
    std::optional<long> interval;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i], inlineValue;
        const std::size_t equals = option.find('=');
        const bool hasInline = option.rfind("--", 0) == 0 && equals != std::string::npos;
        if (hasInline) {
            inlineValue = option.substr(equals + 1);
            option.erase(equals);
        }
        auto value = [&] { return Value(args, i, option, inlineValue, hasInline); };

        if (option == "-h" || option == "--help")
            line.help = true;
        else if (option == "--print-catalogue")
            line.printCatalogue = true;
        else if (option == "--host")
            o.host = value();
        else if (option == "--port")
            o.port = int(Whole(option, value(), 0, 65535));
        else if (option == "--media")
            o.mediaFolder = value();
        else if (option == "--adv")
            o.adFolder = value();
        else if (option == "--catalogue")
            o.catalogueFile = value();
        else if (option == "--connect-count")
            o.connectCount = Whole(option, value(), 0, 999999999);
        else if (option == "--log")
            o.logFile = value();
        else if (option == "--fault")
            o.faults.push_back(ParseFault(value()));
        else if (option == "--announce")
            o.announce = ParseAnnounceTarget(value());
        else if (option == "--announce-interval")
            interval = Whole(option, value(), 10, 3600000);
        else
            throw std::invalid_argument("unknown option " + args[i]);
    }
    if (interval) {
        if (!o.announce)
            throw std::invalid_argument("option --announce-interval needs --announce");
        o.announce->interval = std::chrono::milliseconds(*interval);
    }
    return line;
}

const char* HelpText() { return kHelp; }

} // namespace lodgeview::devserver
