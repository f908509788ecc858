#include "devserver/ServiceDesk.h"

#include "cipher/Base64.h"
#include "cipher/Blowfish.h"
#include "cipher/WholeTextCipher.h"
#include "platform/CodePage.h"
#include "player/service/ServiceExchange.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace lodgeview::devserver {
namespace {

enum class Input { Record, Param };

struct Command {
    const char* code;
    ServiceEndpoint endpoint;
    Input input;
    std::vector<const char*> fields; // the record's keys the server needs
};

const std::vector<Command>& Commands()
{
    using E = ServiceEndpoint;
    static const std::vector<Command> commands = {
        {"IF-SCS-17", E::Pcs, Input::Record, {"TP_VIEW"}},
        {"IF-SCS-23", E::Pcs, Input::Record, {"TP_VIEW", "NO_ROOM", "ID_MAC", "NO_HDD_SERIAL", "ID_EQUIP", "ID_MOVIE"}},
        {"IF-SCS-14", E::Pcs, Input::Record, {"TP_VIEW", "NO_ROOM", "ID_MAC", "NO_HDD_SERIAL", "ID_EQUIP", "ID_MOVIE"}},
        {"IF-SCS-15", E::Pcs, Input::Record,
         {"TP_VIEW", "NO_ROOM", "ID_MOVIE", "ID_SERIESE", "DT_PLAY_START", "DT_PLAY_END", "ST_PLAY", "TM_POSITION",
          "ID_EQUIP", "ID_MAC", "NO_HDD_SERIAL"}},
        {"IF-VLC-07", E::Pcs, Input::Param, {}},
        {"IF-VLC-30", E::Pcs, Input::Param, {}},
        {"IF-VLC-04", E::Pcs, Input::Param, {}},
        {"IF-ONS-43", E::Scs, Input::Record, {"TP_VIEW"}},
        {"IF-ONS-37", E::Scs, Input::Record, {}},
    };
    return commands;
}

// An empty record still enciphers to one block of zero bytes, so a PDU that does not decode to
// whole cipher blocks is the only kind the cipher cannot read.
bool CarriesWholeBlocks(const std::string& pdu)
{
    std::vector<std::uint8_t> bytes(pdu.size() * 3 / 4 + 1);
    const auto decoded = Base64DecodeTolerant(pdu.c_str(), pdu.size(), bytes.data());
    return decoded && *decoded > 0 && *decoded % Blowfish::kBlockSize == 0;
}

// The record in UTF-8; nothing when the PDU cannot be deciphered or is not CP949 text.
std::optional<std::string> DecipherRecord(const std::string& pdu)
{
    if (!CarriesWholeBlocks(pdu))
        return std::nullopt;
    try {
        return Cp949ToUtf8(DecipherWholeText(kRequestKey, pdu));
    } catch (const CodePageError&) {
        return std::nullopt;
    }
}

// key "^" value fields joined by "|"; keys are upper-case ASCII. The first of two equal keys wins.
std::optional<std::map<std::string, std::string>> ParseRecord(const std::string& record)
{
    std::map<std::string, std::string> fields;
    if (record.empty())
        return fields;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = std::min(record.find('|', begin), record.size());
        const std::string field = record.substr(begin, end - begin);
        const std::size_t caret = field.find('^');
        if (caret == 0 || caret == std::string::npos)
            return std::nullopt;
        const std::string key = field.substr(0, caret);
        if (!std::all_of(key.begin(), key.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }))
            return std::nullopt;
        fields.emplace(key, field.substr(caret + 1));
        if (end == record.size())
            return fields;
        begin = end + 1;
    }
}

std::string Fraction(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// Address of a clip as the server hands it out. It carries a query already, so that the "&POS="
// and "&MAC=" the player appends arrive as parameters; mac (ID_MAC) is given for movies, whose
// position the server tracks, and left out for advertisements.
std::string StreamUrl(const std::string& baseUrl, const std::string& clip, const std::string& movieId,
                      const std::optional<std::string>& mac)
{
    std::string url = baseUrl + "/media/" + clip + "?ID_MOVIE=" + UrlEncode(movieId);
    if (mac)
        url += "&ID_MAC=" + UrlEncode(*mac);
    return url;
}

} // namespace

ServiceAnswer ServiceDesk::Answer(const ServiceCall& call) const
{
    ServiceAnswer answer;
    answer.reply.kind = ReplyKind::ServiceXml;
    answer.reply.contentType = "text/html; charset=UTF-8";
    std::string& xml = answer.reply.text;

    const auto& commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) {
        return c.code == call.command && c.endpoint == call.endpoint;
    });
    if (command == commands.end()) {
        xml = ResultDocument::Unreadable("E100", "unknown command \"" + call.command + "\" on this endpoint");
        return answer;
    }

    std::map<std::string, std::string> fields;
    if (command->input == Input::Param) {
        answer.record = call.param.value_or("");
    } else {
        const std::optional<std::string> record = call.pdu ? DecipherRecord(*call.pdu) : std::nullopt;
        if (!record) {
            xml = ResultDocument::Unreadable("E101", call.pdu ? "undecipherable PDU" : "no PDU");
            return answer;
        }
        answer.record = *record;
        const auto parsed = ParseRecord(*record);
        if (!parsed) {
            xml = ResultDocument::Unreadable("E101", "PDU is not a record of key^value fields");
            return answer;
        }
        fields = *parsed;
        for (const char* key : command->fields) {
            if (!fields.count(key)) {
                xml = ResultDocument::Unreadable("E102", std::string("missing field ") + key);
                return answer;
            }
        }
    }

    const std::string code = command->code;
    const Title* title = nullptr;
    if (code == "IF-SCS-23" || code == "IF-SCS-14") {
        title = catalogue_.Find(fields["ID_MOVIE"]);
        if (!title) {
            xml = ResultDocument::Refusal("E201", "no such title");
            return answer;
        }
    }
    if (code == "IF-SCS-17") {
        xml = ResultDocument().Add("NM_SITE", catalogue_.site).Text();
    } else if (code == "IF-SCS-23") {
        xml = ResultDocument().Add("PRICE", std::to_string(title->price)).Add("IS_PPV", title->ppv).Text();
    } else if (code == "IF-SCS-14") {
        xml = PlayAuthorisation(call, *title, fields["ID_MAC"]);
    } else if (code == "IF-VLC-30") {
        const auto position = tracker_.Position(answer.record, PlayTracker::Clock::now());
        xml = position ? ResultDocument().Add("POS", Fraction(*position)).Text()
                       : ResultDocument::Refusal("E301", "no movie stream started");
    } else if (code == "IF-ONS-37") {
        xml = ResultDocument().Add("CONNECT_CNT", std::to_string(catalogue_.connectCount)).Text();
    } else {
        xml = ResultDocument().Text();
    }
    return answer;
}

std::string ServiceDesk::PlayAuthorisation(const ServiceCall& call, const Title& title, const std::string& mac) const
{
    if (title.IsPaid() && !orders_.Has(mac, title.id))
        return ResultDocument::Refusal("E202", "paid title not bought");
    ResultDocument reply;
    reply.Add("URL_MOVIE", StreamUrl(call.baseUrl, title.clip, title.id, mac))
        .Add("TM_PLAY", std::to_string(std::lround(clips_.at(title.clip)->DurationSeconds())));
    if (!title.ad.empty())
        reply.Add("URL_ADV_MOVIE", StreamUrl(call.baseUrl, title.ad, title.id, std::nullopt));
    return reply.Text();
}

} // namespace lodgeview::devserver
