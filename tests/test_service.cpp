// The service exchange against a real HTTP server on loopback: URL forms, enciphered PDUs and
// replies, the reply reading rules and the failures every caller relies on.
#include "player/service/ServiceExchange.h"

#include "HexBytes.h"
#include "LoopbackHttpServer.h"
#include "cipher/WholeTextCipher.h"
#include "macprobe/MacProbe.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace lodgeview {
namespace {

using test::LoopbackHttpServer;

TEST(UrlEncode, KeepsEncodesAndTurnsBlanksIntoPlus)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"AZaz09", "AZaz09"},
        {"!$'()*-.@_", "!$'()*-.@_"},
        {"a b", "a+b"},
        {"+/=", "%2B%2F%3D"},
        {"&?#%^|:~", "%26%3F%23%25%5E%7C%3A%7E"},
        {"\xB0\xA1\x01\x7F", "%B0%A1%01%7F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(EncipherText, LengthsAndLimit)
{
    EXPECT_EQ(EncipherText(kRequestKey, "").size(), 12u);
    EXPECT_EQ(EncipherText(kRequestKey, std::string(760, 'r')).size(), 1016u) << "largest record, one piece";
    EXPECT_THROW(EncipherText(kRequestKey, std::string(761, 'r')), ServiceError);
}

TEST(EncipherText, MatchesTheServersReadingAndBack)
{
    const std::string record = "TP_VIEW^20|NO_ROOM^100|ID_MOVIE^M0042";
    const std::string coded = EncipherText(kRequestKey, record);
    EXPECT_EQ(coded, EncipherWholeText(kRequestKey, record));
    EXPECT_EQ(DecipherText(kRequestKey, coded), record);
    EXPECT_NE(DecipherText(kReplyKey, coded), record);
}

TEST(DecipherText, LongRepliesAreReadPieceByPiece)
{
    // 768-byte pieces: 1025..2048 characters take two, longer ones three.
    for (std::size_t len : {767u, 769u, 1200u, 1536u, 1700u}) {
        std::string reply;
        for (std::size_t i = 0; reply.size() < len; ++i)
            reply += "<ITEM>" + std::to_string(i) + "</ITEM>";
        reply.resize(len);
        const std::string coded = EncipherWholeText(kReplyKey, reply);
        EXPECT_EQ(DecipherText(kReplyKey, coded), reply) << "length " << len << ", " << coded.size() << " characters";
        EXPECT_EQ(DecipherText(kReplyKey, coded), DecipherWholeText(kReplyKey, coded));
    }
}

TEST(DecipherText, UndecodableTextGivesEmpty)
{
    for (const char* coded : {"", "not base64 at all!", "QUJD=", "QUJDREVG"})
        EXPECT_EQ(DecipherText(kReplyKey, coded), "") << coded;
}

TEST(PlayRecord, JoinsFieldsInOrderAndRefusesSeparatorsInValues)
{
    EXPECT_EQ(PlayRecord({}), "");
    EXPECT_EQ(PlayRecord({{"TP_VIEW", "20"}}), "TP_VIEW^20");
    EXPECT_EQ(PlayRecord({{"TP_VIEW", "20"}, {"ID_MAC", ""}, {"ID_MOVIE", "M1"}}), "TP_VIEW^20|ID_MAC^|ID_MOVIE^M1");
    EXPECT_THROW(PlayRecord({{"ID_MOVIE", "a|b"}}), ServiceError);
    EXPECT_THROW(PlayRecord({{"ID_MOVIE", "a^b"}}), ServiceError);
}

TEST(GetDiskSerialText, EightUpperCaseHexDigitsOrZeros)
{
    const std::string serial = GetDiskSerialText("/");
    ASSERT_EQ(serial.size(), 8u);
    EXPECT_EQ(serial.find_first_not_of("0123456789ABCDEF"), std::string::npos) << serial;
    EXPECT_EQ(GetDiskSerialText("/no/such/volume"), "00000000");
}

class MacProbeFolder : public ::testing::Test {
protected:
    void Interface(const std::string& name, const std::string& address, const std::string& index)
    {
        std::filesystem::create_directories(dir_ / name);
        std::ofstream(dir_ / name / "address") << address << "\n";
        std::ofstream(dir_ / name / "ifindex") << index << "\n";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                 ("macprobe-" + std::to_string(::getpid()));
};

TEST_F(MacProbeFolder, LowestIndexedHardwareInterfaceUpperCase)
{
    EXPECT_EQ(FindMacAddress(dir_.string()), "") << "missing folder";
    Interface("lo", "00:00:00:00:00:00", "1");
    Interface("tun0", "", "2");
    EXPECT_EQ(FindMacAddress(dir_.string()), "");
    Interface("wlan0", "02:aa:bb:cc:dd:ee", "4");
    Interface("eth0", "52:54:00:12:34:5f", "3");
    EXPECT_EQ(FindMacAddress(dir_.string()), "52:54:00:12:34:5F");
}

TEST(GetMacText, IsWhatTheProbeReports)
{
    EXPECT_EQ(GetMacText(), FindMacAddress("/sys/class/net"));
}

// A stand-in VOD service: records every request and answers with a reply chosen by the test.
class ServiceExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server_.server().Get(R"(/ZUVU_SCS/(pcs|scs)\.do)", [this](const httplib::Request& req, httplib::Response& res) {
            std::string body;
            int status = 200;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                targets_.push_back(req.target);
                pdus_.push_back(req.get_param_value("PDU"));
                body = body_;
                status = status_;
            }
            if (delay_.count() > 0)
                std::this_thread::sleep_for(delay_);
            res.status = status;
            res.set_content(body, "text/html");
        });
    }

    void ReplyPlain(const std::string& body) { body_ = body; }
    void ReplyXml(const std::string& xml) { body_ = EncipherWholeText(kReplyKey, xml); }

    ServiceClient Client() { return ServiceClient({"127.0.0.1", server_.portSuffix()}, http_); }

    LoopbackHttpServer server_;
    CurlHttpClient http_;
    std::mutex mutex_;
    std::vector<std::string> targets_, pdus_;
    std::string body_;
    int status_ = 200;
    std::chrono::milliseconds delay_{0};
};

constexpr char kSiteReply[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><PDU><RESULT><MESSAGE>SUCCESS</MESSAGE>"
    "<NM_SITE>서울 모텔</NM_SITE></RESULT></PDU>";

TEST_F(ServiceExchangeTest, TerminalCommandUrlAndUrlEncodedPdu)
{
    ReplyXml(kSiteReply);
    const std::string record = PlayRecord({{"TP_VIEW", "20"}, {"NO_ROOM", "100"}, {"ID_MOVIE", "M0042"}});
    Client().ServiceRequest("IF-SCS-23", record);

    ASSERT_EQ(targets_.size(), 1u);
    const std::string coded = EncipherText(kRequestKey, record);
    EXPECT_EQ(targets_[0], "/ZUVU_SCS/pcs.do?CMD=IF-SCS-23&V=01&C=20&PDU=" + UrlEncode(coded));
    EXPECT_EQ(DecipherWholeText(kRequestKey, pdus_[0]), record);
}

TEST_F(ServiceExchangeTest, PlainPduKeepsPlusSigns)
{
    ReplyXml(kSiteReply);
    // Find a record whose enciphered form carries a "+".
    std::string record, coded;
    for (int i = 0; coded.find('+') == std::string::npos; ++i) {
        record = "TP_VIEW^" + std::to_string(i);
        coded = EncipherText(kRequestKey, record);
    }
    Client().ServiceRequest("IF-SCS-17", record, ServiceClient::PduEncoding::Plain);
    Client().ServiceRequest("IF-SCS-23", record);
    ASSERT_EQ(targets_.size(), 2u);
    EXPECT_EQ(targets_[0], "/ZUVU_SCS/pcs.do?CMD=IF-SCS-17&V=01&C=20&PDU=" + coded);
    EXPECT_NE(targets_[1].find("%2B"), std::string::npos);
    // The server's URL decoder turns the plain "+" into a blank; the PDU still deciphers.
    EXPECT_NE(pdus_[0].find(' '), std::string::npos);
    EXPECT_EQ(DecipherWholeText(kRequestKey, pdus_[0]), record);
    EXPECT_EQ(DecipherWholeText(kRequestKey, pdus_[1]), record);
}

TEST_F(ServiceExchangeTest, RecordGoesOutInTheWireCodePage)
{
    ReplyXml(kSiteReply);
    Client().ServiceRequest("IF-SCS-15", "NM_TITLE^영화");
    EXPECT_EQ(DecipherWholeText(kRequestKey, pdus_.at(0)), Utf8ToCp949("NM_TITLE^영화"));
}

TEST_F(ServiceExchangeTest, OtherEndpointForms)
{
    ReplyXml(kSiteReply);
    Client().MediaNotice("IF-VLC-30", "52:54:00:12:34:5F");
    Client().FinderRequest("IF-ONS-43", "TP_VIEW^20");
    ASSERT_EQ(targets_.size(), 2u);
    EXPECT_EQ(targets_[0], "/ZUVU_SCS/pcs.do?V=01&C=20&CMD=IF-VLC-30&PARAM=52:54:00:12:34:5F");
    EXPECT_EQ(targets_[1], "/ZUVU_SCS/scs.do?CMD=IF-ONS-43&PDU=" + EncipherText(kRequestKey, "TP_VIEW^20"));
}

TEST_F(ServiceExchangeTest, ReadsResultChildrenOfTheDecipheredReply)
{
    ReplyXml(kSiteReply);
    const ServiceReply reply = Client().ServiceRequest("IF-SCS-17", "TP_VIEW^20", ServiceClient::PduEncoding::Plain);
    EXPECT_TRUE(reply.HasResult());
    EXPECT_TRUE(reply.Succeeded());
    EXPECT_EQ(reply.Result("NM_SITE"), "서울 모텔");
    EXPECT_EQ(reply.Result("PRICE"), "") << "a missing child reads empty";
}

TEST_F(ServiceExchangeTest, ReplyReadingRules)
{
    const struct {
        const char* name;
        std::string body;
        bool hasResult;
        bool succeeded;
        const char* code;
    } cases[] = {
        {"success is case-sensitive",
         EncipherWholeText(kReplyKey, "<R><RESULT><MESSAGE>success</MESSAGE><CODE>E1</CODE></RESULT></R>"), true, false, "E1"},
        {"no RESULT: code of the root",
         EncipherWholeText(kReplyKey, "<R><CODE>E404</CODE></R>"), false, false, "E404"},
        {"body with line breaks around it", "\r\n" + EncipherWholeText(kReplyKey, kSiteReply) + "\r\n \t", true, true, ""},
        {"CP949 text counts as empty", EncipherWholeText(kReplyKey, Utf8ToCp949(kSiteReply)), false, false, ""},
        {"broken Base64", "!!!not-base64", false, false, ""},
        {"empty body", "", false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyPlain(c.body);
        ServiceReply reply;
        ASSERT_NO_THROW(reply = Client().ServiceRequest("IF-SCS-23", "TP_VIEW^20"));
        EXPECT_EQ(reply.HasResult(), c.hasResult);
        EXPECT_EQ(reply.Succeeded(), c.succeeded);
        EXPECT_EQ(reply.FailureCode(), c.code);
    }
}

TEST_F(ServiceExchangeTest, MalformedReplyRaisesTheParserMessage)
{
    ReplyXml("<R><RESULT><MESSAGE>SUCCESS</MESSAGE></R>");
    try {
        Client().ServiceRequest("IF-SCS-23", "TP_VIEW^20");
        FAIL() << "a malformed reply must raise";
    } catch (const ServiceError& e) {
        EXPECT_NE(std::string(e.what()).find("mismatch"), std::string::npos) << e.what();
    }
}

TEST_F(ServiceExchangeTest, HttpFailuresGiveAnEmptyReply)
{
    ReplyXml(kSiteReply);
    status_ = 500;
    EXPECT_FALSE(Client().ServiceRequest("IF-SCS-23", "TP_VIEW^20").HasResult());

    int closedPort;
    {
        LoopbackHttpServer gone;
        closedPort = gone.port();
    }
    CurlHttpClient http;
    ServiceClient unreachable({"127.0.0.1", ":" + std::to_string(closedPort)}, http);
    ServiceReply reply;
    ASSERT_NO_THROW(reply = unreachable.ServiceRequest("IF-SCS-23", "TP_VIEW^20"));
    EXPECT_FALSE(reply.HasResult());
}

TEST_F(ServiceExchangeTest, SlowServerIsCutOffByTheTimeout)
{
    ReplyXml(kSiteReply);
    delay_ = std::chrono::milliseconds(1500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpGet("http://127.0.0.1" + server_.portSuffix() + "/ZUVU_SCS/pcs.do", {std::chrono::milliseconds(300), std::chrono::milliseconds(300)}), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1200));
}

TEST_F(ServiceExchangeTest, TwoThreadsExchangeAtOnce)
{
    ReplyXml(kSiteReply);
    std::atomic<int> good{0};
    auto worker = [&](const char* command) {
        for (int i = 0; i < 40; ++i) {
            const std::string record = PlayRecord({{"TP_VIEW", "20"}, {"N", std::to_string(i)}});
            const ServiceReply reply = Client().ServiceRequest(command, record);
            if (reply.Succeeded() && reply.Result("NM_SITE") == "서울 모텔")
                ++good;
        }
    };
    std::thread a(worker, "IF-SCS-15"), b(worker, "IF-VLC-04");
    a.join();
    b.join();
    EXPECT_EQ(good, 80);
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& pdu : pdus_)
        EXPECT_EQ(DecipherWholeText(kRequestKey, pdu).rfind("TP_VIEW^20|N^", 0), 0u) << pdu;
}

} // namespace
} // namespace lodgeview
