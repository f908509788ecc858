#include "devserver/Faults.h"

#include "devserver/RequestLog.h"

#include "cipher/WholeTextCipher.h"
#include "platform/CodePage.h"
#include "player/service/ServiceExchange.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace lodgeview::devserver {
namespace {

struct KindInfo {
    FaultKind kind;
    const char* name;
    std::set<std::string> keys; // settings the switch takes
};

const std::vector<KindInfo>& Kinds()
{
    static const std::vector<KindInfo> kinds = {
        {FaultKind::Refuse, "refuse", {"ms"}},
        {FaultKind::Delay, "delay", {"ms", "match", "count"}},
        {FaultKind::HttpError, "http-error", {"status", "match", "count"}},
        {FaultKind::BrokenBase64, "broken-base64", {"match", "count"}},
        {FaultKind::BrokenXml, "broken-xml", {"match", "count"}},
        {FaultKind::NoSuccess, "no-success", {"code", "match", "count"}},
        {FaultKind::NoLength, "no-length", {"match", "count"}},
        {FaultKind::CutShort, "cut-short", {"match", "count"}},
    };
    return kinds;
}

int Whole(const std::string& key, const std::string& text, int low, int high)
{
    const bool digits = !text.empty() && text.size() <= 9 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digits ? std::stoi(text) : -1;
    if (value < low || value > high)
        throw std::invalid_argument(key + " must be a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ": \"" + text + "\"");
    return value;
}

// The document without its last end tag: no longer well-formed.
std::string WithoutLastEndTag(const std::string& xml)
{
    const std::size_t at = xml.rfind("</");
    return at == std::string::npos ? xml.substr(0, xml.size() / 2) : xml.substr(0, at);
}

// The first 1024-character piece (the one every terminal decodes first) without its last group
// of four: it decodes to a byte count that is no multiple of the cipher block.
std::string BrokenBase64(const std::string& coded)
{
    const std::string piece = coded.substr(0, 1024);
    return piece.substr(0, piece.size() - std::min<std::size_t>(4, piece.size()));
}

} // namespace

const char* FaultName(FaultKind kind)
{
    for (const KindInfo& info : Kinds()) {
        if (info.kind == kind)
            return info.name;
    }
    return "?";
}

Fault MakeFault(const std::string& name, const std::map<std::string, std::string>& settings)
{
    const auto& kinds = Kinds();
    const auto info = std::find_if(kinds.begin(), kinds.end(), [&](const KindInfo& k) { return name == k.name; });
    if (info == kinds.end())
        throw std::invalid_argument("unknown fault \"" + name + "\"");
    Fault fault;
    fault.kind = info->kind;
    fault.duration = std::chrono::milliseconds(fault.kind == FaultKind::Refuse ? 3000 : 2000);
    for (const auto& [key, value] : settings) {
        if (!info->keys.count(key))
            throw std::invalid_argument("fault " + name + " takes no setting \"" + key + "\"");
        if (key == "ms")
            fault.duration = std::chrono::milliseconds(Whole(key, value, 0, 600000));
        else if (key == "status")
            fault.status = Whole(key, value, 400, 599);
        else if (key == "code")
            fault.code = value;
        else if (key == "match")
            fault.match = value;
        else if (key == "count")
            fault.count = Whole(key, value, 1, 1000000);
    }
    return fault;
}

Fault ParseFault(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t comma; (comma = text.find(',', begin)) != std::string::npos; begin = comma + 1)
        parts.push_back(text.substr(begin, comma - begin));
    parts.push_back(text.substr(begin));

    std::map<std::string, std::string> settings;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::size_t equals = parts[i].find('=');
        if (equals == std::string::npos || equals == 0)
            throw std::invalid_argument("fault setting \"" + parts[i] + "\" is not key=value");
        settings[parts[i].substr(0, equals)] = parts[i].substr(equals + 1);
    }
    return MakeFault(parts[0], settings);
}

std::string FaultJson(const Fault& fault)
{
    std::string json = std::string("{\"name\":\"") + FaultName(fault.kind) + "\"";
    switch (fault.kind) {
    case FaultKind::Refuse:
    case FaultKind::Delay: json += ",\"ms\":" + std::to_string(fault.duration.count()); break;
    case FaultKind::HttpError: json += ",\"status\":" + std::to_string(fault.status); break;
    case FaultKind::NoSuccess: json += ",\"code\":" + JsonString(fault.code); break;
    default: break;
    }
    if (!fault.match.empty())
        json += ",\"match\":" + JsonString(fault.match);
    if (fault.count >= 0)
        json += ",\"count\":" + std::to_string(fault.count);
    return json + "}";
}

void FaultSwitch::Set(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.erase(std::remove_if(faults_.begin(), faults_.end(), [&](const Fault& f) { return f.kind == fault.kind; }),
                  faults_.end());
    faults_.push_back(fault);
}

void FaultSwitch::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

std::vector<Fault> FaultSwitch::Active() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_;
}

std::vector<Fault> FaultSwitch::Take(const std::string& command, const std::string& path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Fault> taken;
    for (Fault& fault : faults_) {
        const bool applies = fault.match.empty() || fault.match == command ||
                             (fault.match[0] == '/' && path.compare(0, fault.match.size(), fault.match) == 0);
        if (!applies)
            continue;
        taken.push_back(fault);
        if (fault.count > 0)
            --fault.count;
    }
    faults_.erase(std::remove_if(faults_.begin(), faults_.end(), [](const Fault& f) { return f.count == 0; }),
                  faults_.end());
    return taken;
}

bool HasFault(const std::vector<Fault>& faults, FaultKind kind)
{
    return std::any_of(faults.begin(), faults.end(), [kind](const Fault& f) { return f.kind == kind; });
}

WireReply ToWire(Reply reply, const std::vector<Fault>& faults)
{
    for (const Fault& fault : faults) {
        if (fault.kind == FaultKind::HttpError)
            reply = TextReply(fault.status, "fault switch http-error");
        else if (fault.kind == FaultKind::NoSuccess && reply.IsXml())
            reply.text = ResultDocument::Refusal(fault.code, "fault switch no-success");
    }
    if (reply.IsXml() && HasFault(faults, FaultKind::BrokenXml))
        reply.text = WithoutLastEndTag(reply.text);

    WireReply wire;
    wire.status = reply.status;
    wire.contentType = reply.contentType;
    switch (reply.kind) {
    case ReplyKind::Bytes:
        wire.bytes = reply.bytes;
        wire.offset = reply.offset;
        return wire;
    case ReplyKind::ServiceXml: {
        std::string coded = EncipherWholeText(kReplyKey, reply.text);
        if (HasFault(faults, FaultKind::BrokenBase64))
            coded = BrokenBase64(coded);
        wire.bytes = std::make_shared<const std::string>(std::move(coded));
        return wire;
    }
    case ReplyKind::XmlCp949: wire.bytes = std::make_shared<const std::string>(Utf8ToCp949(reply.text)); return wire;
    case ReplyKind::Page:
    case ReplyKind::Xml: break;
    }
    wire.bytes = std::make_shared<const std::string>(std::move(reply.text));
    return wire;
}

} // namespace lodgeview::devserver
