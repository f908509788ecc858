// The substitute VOD server over HTTP, driven by the clients the terminals use: the service
// exchange for every command, the pages, the purchase, the streams, the ad list, the fault
// switches and the announcements.
#include "DevServerFixture.h"
#include "TempFolder.h"

#include "platform/CodePage.h"
#include "player/startup/SplitFields.h"

#include <pugixml.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

namespace lodgeview::devserver::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using lodgeview::test::TempFolder;

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Start time of an MPEG-TS file as ffprobe reads it, in seconds.
double FirstTimestamp(const std::string& path)
{
    const std::string command = "ffprobe -v error -show_entries format=start_time -of default=nw=1:nk=1 '" + path + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char text[64] = {};
    const bool read = std::fgets(text, sizeof text, pipe) != nullptr;
    ::pclose(pipe);
    return read ? std::stod(text) : -1;
}

TEST_F(DevServerTest, EveryCommandThroughTheServiceClientAndTheRequestLog)
{
    std::vector<std::pair<std::string, std::string>> sent;
    auto request = [&](const std::string& command, const std::string& record) {
        sent.emplace_back(command, record);
        return Client().ServiceRequest(command, record);
    };

    sent.emplace_back("IF-SCS-17", "TP_VIEW^20");
    ServiceReply site = Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20", ServiceClient::PduEncoding::Plain);
    EXPECT_TRUE(site.Succeeded());
    EXPECT_EQ(site.Result("NM_SITE"), "한빛모텔");

    ServiceReply free = request("IF-SCS-23", TerminalRecord("M1001"));
    EXPECT_TRUE(free.Succeeded());
    EXPECT_EQ(free.Result("PRICE"), "0");
    EXPECT_EQ(free.Result("IS_PPV"), "N");
    ServiceReply paid = request("IF-SCS-23", TerminalRecord("M2001"));
    EXPECT_EQ(paid.Result("PRICE"), "3000");
    EXPECT_EQ(paid.Result("IS_PPV"), "Y");

    ServiceReply play = request("IF-SCS-14", TerminalRecord("M1001"));
    EXPECT_TRUE(play.Succeeded());
    EXPECT_EQ(play.Result("URL_MOVIE"), Base() + "/media/movie.ts?ID_MOVIE=M1001&ID_MAC=52%3A54%3A00%3A12%3A34%3A5F");
    EXPECT_EQ(play.Result("TM_PLAY"), "60");
    EXPECT_EQ(play.Result("URL_ADV_MOVIE"), Base() + "/media/ad.ts?ID_MOVIE=M1001");
    ServiceReply noAd = request("IF-SCS-14", TerminalRecord("M1002"));
    EXPECT_TRUE(noAd.Succeeded());
    EXPECT_EQ(noAd.Result("URL_ADV_MOVIE"), "");

    const std::string report = PlayRecord({{"TP_VIEW", "20"}, {"NO_ROOM", "100"}, {"ID_MOVIE", "M1001"},
                                           {"ID_SERIESE", "0"}, {"DT_PLAY_START", "20240611210405"},
                                           {"DT_PLAY_END", ""}, {"ST_PLAY", "20"}, {"TM_POSITION", "0"},
                                           {"ID_EQUIP", "1"}, {"ID_MAC", "한글"}, {"NO_HDD_SERIAL", "0A1B2C3D"}});
    EXPECT_TRUE(request("IF-SCS-15", report).Succeeded());

    for (const char* notice : {"IF-VLC-07", "IF-VLC-04"}) {
        sent.emplace_back(notice, "");
        EXPECT_TRUE(Client().MediaNotice(notice, "").Succeeded()) << notice;
    }
    sent.emplace_back("IF-ONS-43", "TP_VIEW^20");
    EXPECT_TRUE(Client().FinderRequest("IF-ONS-43", "TP_VIEW^20").Succeeded());
    sent.emplace_back("IF-ONS-37", "");
    ServiceReply load = Client().FinderRequest("IF-ONS-37", "");
    EXPECT_TRUE(load.Succeeded());
    EXPECT_EQ(load.Result("CONNECT_CNT"), "3");

    // The log holds every request in order, with its record deciphered and in UTF-8.
    const auto entries = server_->Log().Entries();
    ASSERT_EQ(entries.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(entries[i].command, sent[i].first) << i;
        EXPECT_EQ(entries[i].record, sent[i].second) << i;
        EXPECT_EQ(entries[i].status, 200);
    }
    EXPECT_EQ(entries[0].path, "/ZUVU_SCS/pcs.do");
    EXPECT_EQ(entries.back().path, "/ZUVU_SCS/scs.do");
}

TEST_F(DevServerTest, UnreadableAndRefusedRequestsGetFailureCodes)
{
    const std::string pcs = Base() + "/ZUVU_SCS/pcs.do?V=01&C=20&CMD=IF-SCS-17";
    const struct {
        const char* name;
        std::function<ServiceReply()> send;
        bool hasResult;
        const char* code;
    } cases[] = {
        {"unknown command", [&] { return Client().ServiceRequest("IF-SCS-99", TerminalRecord("M1001")); }, false, "E100"},
        {"finder command on pcs.do", [&] { return Client().ServiceRequest("IF-ONS-43", "TP_VIEW^20"); }, false, "E100"},
        {"no PDU", [&] { return ServiceReply::FromBody(HttpGet(pcs)); }, false, "E101"},
        {"PDU of no whole block", [&] { return ServiceReply::FromBody(HttpGet(pcs + "&PDU=QUJD")); }, false, "E101"},
        {"PDU that is not a record", [&] { return Client().ServiceRequest("IF-SCS-17", "hello"); }, false, "E101"},
        {"missing field", [&] { return Client().ServiceRequest("IF-SCS-14", "TP_VIEW^20"); }, false, "E102"},
        {"unknown title", [&] { return Client().ServiceRequest("IF-SCS-23", TerminalRecord("NONE")); }, true, "E201"},
        {"paid title not bought", [&] { return Client().ServiceRequest("IF-SCS-14", TerminalRecord("M2001")); }, true, "E202"},
        {"position without a stream", [&] { return Client().MediaNotice("IF-VLC-30", kMac); }, true, "E301"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ServiceReply reply = c.send();
        EXPECT_EQ(reply.HasResult(), c.hasResult);
        EXPECT_FALSE(reply.Succeeded());
        EXPECT_EQ(reply.FailureCode(), c.code);
    }
}

TEST_F(DevServerTest, PurchasePageRecordsTheOrderThatUnlocksThePaidTitle)
{
    const std::string query = "?NO_ROOM=100&CONTENT_ID=M2001&ID_MAC=" + kMac;
    const auto page = Get("/service/purchase/MVK_PURCHASE_INFO.PHP" + query);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->status, 200);
    const std::string& html = page->body;
    for (const char* part : {"달빛 추적자", "3,000원", "window.moveTo(", "window.resizeTo(360, 320)",
                             "<button id=\"PAY\"", "<button id=\"CANCEL\"", "<button id=\"SUCC\"",
                             "\"RESULT=SUCCEEDED|NO_ORDER=\" + order", "\"RESULT=CLOSE\""})
        EXPECT_NE(html.find(part), std::string::npos) << part;

    // pay() fetches the order address the page carries, relative to the page.
    std::smatch address;
    ASSERT_TRUE(std::regex_search(html, address, std::regex("var orderAddress = \"([^\"]+)\";")));
    std::string orderTarget = address[1];
    for (std::size_t at; (at = orderTarget.find("\\u00")) != std::string::npos;)
        orderTarget.replace(at, 6, 1, char(std::stoi(orderTarget.substr(at + 4, 2), nullptr, 16)));
    const auto order = Get("/service/purchase/" + orderTarget);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->status, 200);
    EXPECT_FALSE(order->body.empty());
    EXPECT_EQ(order->body.find_first_not_of("0123456789"), std::string::npos) << order->body;

    EXPECT_TRUE(Client().ServiceRequest("IF-SCS-14", TerminalRecord("M2001")).Succeeded());
    EXPECT_EQ(Client().ServiceRequest("IF-SCS-14", TerminalRecord("M2001", "00:11:22:33:44:55")).FailureCode(), "E202")
        << "bought by another terminal";

    EXPECT_EQ(Get("/service/purchase/MVK_PURCHASE_INFO.PHP?NO_ROOM=100&CONTENT_ID=M1001&ID_MAC=x")->status, 404)
        << "free title";
    EXPECT_EQ(Get("/service/purchase/MVK_PURCHASE_INFO.PHP?NO_ROOM=%B0&CONTENT_ID=M2001&ID_MAC=x")->status, 400);
    EXPECT_EQ(Get("/service/purchase/MVK_PURCHASE_ORDER.PHP?NO_ROOM=1&CONTENT_ID=NONE&ID_MAC=x")->status, 404);
}

TEST_F(DevServerTest, MenuPagesGiveThePlayCommandOfEveryTitle)
{
    const Catalogue catalogue = Catalogue::Default();
    for (const char* path : {"/ZUVU_MS/pc/movie.do", "/ZUVU_MS/pc/new_movie.do"}) {
        SCOPED_TRACE(path);
        const auto page = Get(path);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=UTF-8");
        EXPECT_NE(page->body.find("window.status = command"), std::string::npos);
        for (const Title& title : catalogue.titles) {
            SCOPED_TRACE(title.id);
            EXPECT_NE(page->body.find(title.name), std::string::npos);
            std::smatch found;
            ASSERT_TRUE(std::regex_search(page->body, found,
                                          std::regex("id=\"" + title.id + "\" data-command=\"([^\"]*)\"")));
            // Read the command as the player does: prefix, then each field cut at a fixed length.
            const std::string command = found[1];
            ASSERT_EQ(command.rfind("TAVIRA_VIDEO=", 0), 0u);
            const auto fields = SplitFields(command.substr(13), '|');
            ASSERT_EQ(fields.size(), 4u);
            EXPECT_EQ(fields[0].substr(12), title.id);
            EXPECT_EQ(fields[1].substr(6), title.rating);
            EXPECT_EQ(fields[2].substr(8), title.preview);
            EXPECT_EQ(fields[3].substr(14), title.previewMs);
        }
    }
}

TEST_F(DevServerTest, MiniWindowPagesAndTheCartoonReply)
{
    EXPECT_EQ(Get("/ZUVU_MS/redirect.do?id_ban=21")->status, 200);
    EXPECT_EQ(Get("/ZUVU_MS/redirect.do?id_ban=22")->status, 200);
    EXPECT_EQ(Get("/ZUVU_MS/redirect.do?id_ban=23")->status, 404);

    // The player reads URL among the children of the document element's first child node.
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(HttpGet(Base() + "/ZUVU_MS/cartoon.do?CMD=IF_001&ID_MAC=" + kMac +
                                        "&TP_REQ=20240611210405").c_str()));
    const std::string url = doc.document_element().first_child().child("URL").text().get();
    ASSERT_EQ(url.rfind(Base() + "/", 0), 0u) << url;
    EXPECT_NE(HttpGet(url).find("만화"), std::string::npos);

    ASSERT_TRUE(doc.load_string(HttpGet(Base() + "/ZUVU_MS/cartoon.do?CMD=IF_002").c_str()));
    EXPECT_TRUE(doc.document_element().first_child().child("URL").empty());
}

TEST_F(DevServerTest, StreamFromPosStartsNearThatFractionAndSetsThePosition)
{
    TempFolder folder;
    const auto whole = Get("/media/movie.ts?ID_MOVIE=M1001");
    const auto half = Get("/media/movie.ts?ID_MOVIE=M1001&POS=0.5&MAC=" + kMac);
    ASSERT_TRUE(whole && half);
    EXPECT_EQ(whole->body, FileText(kMedia + "/movie.ts"));
    EXPECT_EQ(half->get_header_value("Content-Type"), "video/mp2t");
    EXPECT_EQ(half->get_header_value("Content-Length"), std::to_string(half->body.size()));
    ASSERT_GT(half->body.size(), 188u);
    EXPECT_EQ(half->body[0], '\x47');
    EXPECT_EQ((half->body[1] & 0x1F) << 8 | static_cast<unsigned char>(half->body[2]), 0) << "starts with a PAT";
    std::ofstream(folder.Path("whole.ts"), std::ios::binary) << whole->body;
    std::ofstream(folder.Path("half.ts"), std::ios::binary) << half->body;
    const double start = FirstTimestamp(folder.Path("whole.ts"));
    EXPECT_NEAR(FirstTimestamp(folder.Path("half.ts")) - start, 30.0, 1.1) << "key frames come every second";

    const ServiceReply position = Client().MediaNotice("IF-VLC-30", kMac);
    ASSERT_TRUE(position.Succeeded());
    EXPECT_GE(std::stod(position.Result("POS")), 0.5);
    EXPECT_LT(std::stod(position.Result("POS")), 0.55);

    // The address from IF-SCS-14 names the terminal, so a seek without "&MAC=" still counts.
    const std::string movie = Client().ServiceRequest("IF-SCS-14", TerminalRecord("M1002")).Result("URL_MOVIE");
    ASSERT_EQ(movie.rfind(Base(), 0), 0u);
    EXPECT_EQ(Get(movie.substr(Base().size()) + "&POS=0.25")->status, 200);
    EXPECT_LT(std::stod(Client().MediaNotice("IF-VLC-30", kMac).Result("POS")), 0.3);

    EXPECT_GT(Get("/media/movie.ts?ID_MOVIE=M1001&POS=4.5E-6")->body.size(), whole->body.size() - 188 * 4)
        << "from the first program table";
    EXPECT_EQ(Get("/media/movie.ts?ID_MOVIE=M1001&POS=1")->body, "") << "the end";
    httplib::Client client("127.0.0.1", server_->Port());
    const auto part = client.Get("/media/movie.ts?ID_MOVIE=M1001", {{"Range", "bytes=188-375"}});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->status, 206);
    EXPECT_EQ(part->body, whole->body.substr(188, 188));
    for (const char* bad : {"abc", "-0.5", "nan", ""})
        EXPECT_EQ(Get(std::string("/media/movie.ts?POS=") + bad)->status, 400) << bad;
    EXPECT_EQ(Get("/media/other.ts")->status, 404);
}

// The ad list as OvlSync reads it: CP949 text, CODE and VER in RESULT, one ADV_LIST per
// category; each file as it downloads it, with a Content-Length equal to FILE_SIZE.
struct AdListReading {
    std::string code, version;
    std::vector<std::string> categories;
    std::vector<std::map<std::string, std::string>> items;
};

AdListReading ReadAdList(const std::string& cp949)
{
    AdListReading list;
    pugi::xml_document doc;
    const std::string text = Cp949ToUtf8(cp949);
    EXPECT_TRUE(doc.load_string(text.c_str())) << text;
    list.code = doc.select_node("//RESULT/CODE").node().text().get();
    list.version = doc.select_node("//RESULT/VER").node().text().get();
    for (const auto& adv : doc.select_nodes("//ADV_LIST")) {
        list.categories.push_back(adv.node().child("CATEGORY").text().get());
        for (const auto& osd : adv.node().children("OSD_LIST")) {
            std::map<std::string, std::string> item;
            for (const auto& field : osd.children())
                item[field.name()] = field.text().get();
            list.items.push_back(item);
        }
    }
    return list;
}

TEST_F(DevServerTest, AdListOfTheSamplePicturesAndTheirDownloads)
{
    const auto reply = Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-01&C=20&V=01");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->get_header_value("Content-Type"), "text/xml; charset=EUC-KR");
    const AdListReading list = ReadAdList(reply->body);
    EXPECT_EQ(list.code, "0000");
    EXPECT_TRUE(std::regex_match(list.version, std::regex("[0-9A-F]{8}"))) << list.version;
    EXPECT_EQ(list.categories, (std::vector<std::string>{"ADULT", "EVENT", "MAIN"}));
    ASSERT_EQ(list.items.size(), 6u);
    for (const auto& item : list.items) {
        SCOPED_TRACE(item.at("NM_URL"));
        ASSERT_EQ(item.at("NM_URL").rfind(Base(), 0), 0u);
        const auto file = Get(item.at("NM_URL").substr(Base().size()));
        ASSERT_TRUE(file);
        EXPECT_EQ(file->status, 200);
        EXPECT_EQ(file->get_header_value("Content-Length"), item.at("FILE_SIZE"));
        EXPECT_EQ(std::to_string(file->body.size()), item.at("FILE_SIZE"));
        for (const char* key : {"NM_LOCALPATH", "NM_FILENAME", "DELAY", "NO_ALPHA", "NO_ORDER"})
            EXPECT_FALSE(item.at(key).empty()) << key;
    }
    EXPECT_EQ(list.items[0].at("NM_LOCALPATH"), "logoa\\4000_night.png");
    EXPECT_EQ(list.items[0].at("DELAY"), "4000");
    EXPECT_EQ(ReadAdList(Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-02")->body).code, "E100");
}

TEST_F(DevServerTest, AdListFollowsThePictureFolder)
{
    TempFolder adv;
    std::filesystem::create_directories(adv.path() / "MAIN" / "logo");
    std::ofstream(adv.path() / "MAIN" / "logo" / "3000_로고 1.png", std::ios::binary) << "first";
    std::ofstream(adv.path() / "loose.png") << "outside every category";
    ServerOptions options;
    options.adFolder = adv.path().string();
    Start(options);

    const AdListReading before = ReadAdList(Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-01")->body);
    ASSERT_EQ(before.items.size(), 1u);
    const auto& item = before.items[0];
    EXPECT_EQ(item.at("NM_FILENAME"), "3000_로고 1.png") << "Korean survives the CP949 reply";
    EXPECT_EQ(item.at("NM_LOCALPATH"), "logo\\3000_로고 1.png");
    EXPECT_EQ(HttpGet(item.at("NM_URL")), "first");
    EXPECT_EQ(item.at("NM_URL").find(' '), std::string::npos) << item.at("NM_URL");

    std::ofstream(adv.path() / "MAIN" / "logo" / "3000_로고 1.png", std::ios::binary) << "second";
    EXPECT_NE(ReadAdList(Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-01")->body).version, before.version);
    EXPECT_EQ(Get("/ZUVU_SCS/adv/loose.png")->status, 404);
    EXPECT_EQ(Get("/ZUVU_SCS/adv/MAIN/../../loose.png")->status, 404);
}

TEST_F(DevServerTest, HttpErrorSwitch)
{
    EXPECT_NE(Control("fault?name=http-error&status=503"), "");
    EXPECT_EQ(HttpGet(Base() + "/ZUVU_MS/pc/movie.do"), "");
    EXPECT_FALSE(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20").HasResult());
    const auto last = server_->Log().Entries().back();
    EXPECT_EQ(last.status, 503);
    EXPECT_EQ(last.faults, std::vector<std::string>{"http-error"});
}

TEST_F(DevServerTest, ReplyContentSwitches)
{
    Control("fault?name=broken-base64");
    ServiceReply reply;
    ASSERT_NO_THROW(reply = Client().ServiceRequest("IF-SCS-14", TerminalRecord("M1001")));
    EXPECT_FALSE(reply.HasResult()) << "nothing deciphers";

    Control("fault?name=none");
    Control("fault?name=broken-xml");
    EXPECT_THROW(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20"), ServiceError);
    pugi::xml_document doc;
    EXPECT_FALSE(doc.load_string(Cp949ToUtf8(Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-01")->body).c_str()));

    Control("fault?name=none");
    Control("fault?name=no-success&code=E777");
    reply = Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20");
    EXPECT_TRUE(reply.HasResult());
    EXPECT_FALSE(reply.Succeeded());
    EXPECT_EQ(reply.FailureCode(), "E777");
    EXPECT_EQ(ReadAdList(Get("/ZUVU_SCS/adv.do?CMD=IF-ADV-01")->body).code, "E777");
    EXPECT_EQ(Get("/ZUVU_MS/pc/movie.do")->status, 200) << "pages are no XML replies";
}

TEST_F(DevServerTest, TransferSwitches)
{
    const std::string page = Get("/ZUVU_MS/pc/movie.do")->body;

    Control("fault?name=no-length");
    const auto unannounced = Get("/ZUVU_MS/pc/movie.do");
    ASSERT_TRUE(unannounced);
    EXPECT_FALSE(unannounced->has_header("Content-Length"));
    EXPECT_EQ(unannounced->body, page) << "ended by closing the connection";
    const auto start = Clock::now();
    EXPECT_TRUE(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20").Succeeded());
    EXPECT_LT(Clock::now() - start, 1s) << "the client does not wait for a keep-alive time-out";

    Control("fault?name=none");
    Control("fault?name=cut-short");
    EXPECT_EQ(HttpGet(Base() + "/media/ad.ts?ID_MOVIE=M1001"), "") << "a short body is a broken transfer";
    EXPECT_FALSE(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20").HasResult());
}

TEST_F(DevServerTest, DelaySwitch)
{
    Control("fault?name=delay&ms=700&match=IF-SCS-17");
    EXPECT_EQ(HttpGet(Base() + "/ZUVU_SCS/pcs.do?CMD=IF-SCS-17", {200ms, 200ms}), "") << "a client with a time-out";
    auto start = Clock::now();
    EXPECT_NE(HttpGet(Base() + "/ZUVU_MS/pc/movie.do"), "");
    EXPECT_LT(Clock::now() - start, 500ms) << "only the matching command waits";
    start = Clock::now();
    EXPECT_TRUE(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20", ServiceClient::PduEncoding::Plain).Succeeded());
    EXPECT_GE(Clock::now() - start, 700ms);
}

TEST_F(DevServerTest, RefuseSwitchClosesThePortForAWhile)
{
    const auto start = Clock::now();
    Control("fault?name=refuse&ms=800");
    EXPECT_EQ(HttpGet(Base() + "/ZUVU_MS/pc/movie.do"), "");
    EXPECT_LT(Clock::now() - start, 500ms) << "refused at once, not timed out";
    std::string page;
    while (page.empty() && Clock::now() - start < 5s) {
        std::this_thread::sleep_for(50ms);
        page = HttpGet(Base() + "/ZUVU_MS/pc/movie.do");
    }
    EXPECT_NE(page, "") << "listening again";
    EXPECT_GE(Clock::now() - start, 750ms);
}

TEST_F(DevServerTest, SwitchMatchAndCountAndTheControlApi)
{
    EXPECT_EQ(Control("fault?name=http-error&match=IF-SCS-14&count=1"),
              "[{\"name\":\"http-error\",\"status\":500,\"match\":\"IF-SCS-14\",\"count\":1}]");
    EXPECT_TRUE(Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20").Succeeded());
    EXPECT_FALSE(Client().ServiceRequest("IF-SCS-14", TerminalRecord("M1001")).HasResult());
    EXPECT_TRUE(Client().ServiceRequest("IF-SCS-14", TerminalRecord("M1001")).Succeeded()) << "count used up";
    EXPECT_EQ(Control("faults"), "[]");

    const auto bad = Get("/_control/fault?name=explode");
    EXPECT_EQ(bad->status, 400);
    EXPECT_NE(bad->body.find("unknown fault"), std::string::npos);
    EXPECT_EQ(Get("/_control/nothing")->status, 404);

    // The log as JSON lines, without the control requests, from a sequence number on.
    const std::string log = Control("log?since=1");
    EXPECT_TRUE(std::regex_match(log, std::regex("\\{\"seq\":2,[^\n]*\n\\{\"seq\":3,[^\n]*"))) << log;
    EXPECT_NE(log.find("\"cmd\":\"IF-SCS-14\""), std::string::npos);
    EXPECT_EQ(log.find("_control"), std::string::npos);
    Control("log/clear");
    EXPECT_EQ(Control("log"), "");
}

TEST_F(DevServerTest, AnnouncementsComeFromTheServersAddress)
{
    const int listener = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const timeval wait{2, 0};
    ::setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const std::string port = std::to_string(ntohs(address.sin_port));

    auto receive = [&](std::string& sender) {
        char buffer[256];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(listener, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        sender = text;
        return n < 0 ? std::string() : std::string(buffer, std::size_t(n));
    };

    Control("announce?port=" + port + "&interval=100");
    std::string sender;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(receive(sender), "TAVIRA_VOD|PORT=" + std::to_string(server_->Port()));
        EXPECT_EQ(sender, "127.0.0.1");
    }
    Control("announce?stop=1");

    // A second server of a building, on another loopback address, as the finder tells them apart.
    ServerOptions options;
    options.host = "127.0.0.2";
    options.port = 0;
    options.mediaFolder = kMedia;
    options.announce = ParseAnnounceTarget("127.0.0.1:" + port);
    VodServer second(options);
    second.Start();
    std::string datagram;
    do
        datagram = receive(sender);
    while (!datagram.empty() && datagram != "TAVIRA_VOD|PORT=" + std::to_string(second.Port()));
    EXPECT_FALSE(datagram.empty());
    EXPECT_EQ(sender, "127.0.0.2");
    ::close(listener);
}

} // namespace
} // namespace lodgeview::devserver::test
