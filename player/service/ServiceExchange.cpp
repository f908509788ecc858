#include "player/service/ServiceExchange.h"

#include "cipher/LibCipher.h"
#include "macprobe/MacProbe.h"
#include "platform/CodePage.h"
#include "platform/VolumeSerial.h"

#include <cstdio>
#include <mutex>

namespace lodgeview {
namespace {

// Base64 text of one piece and the bytes it deciphers to.
constexpr std::size_t kPieceChars = 1024;
constexpr std::size_t kPieceBuffer = 1024;

// LibCipher keeps one key schedule per process; Init and the calls that use the key must not
// interleave with another thread's.
std::mutex g_cipherLock;

void SetKey(const std::string& key)
{
    Init(reinterpret_cast<const unsigned char*>(key.data()), static_cast<int>(key.size()));
}

std::string UpToFirstZero(const unsigned char* buffer, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && buffer[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(buffer), n);
}

} // namespace

std::string EncipherText(const std::string& key, const std::string& plain)
{
    if (plain.size() > kMaxRecordBytes)
        throw ServiceError("record of " + std::to_string(plain.size()) + " bytes exceeds the limit of " +
                           std::to_string(kMaxRecordBytes) + " bytes");
    unsigned char buffer[kPieceBuffer] = {};
    std::lock_guard<std::mutex> lock(g_cipherLock);
    SetKey(key);
    Base64Encrypt(reinterpret_cast<const unsigned char*>(plain.data()), static_cast<int>(plain.size()),
                  reinterpret_cast<char*>(buffer));
    return UpToFirstZero(buffer, sizeof buffer);
}

std::string DecipherText(const std::string& key, const std::string& coded)
{
    std::string plain;
    std::lock_guard<std::mutex> lock(g_cipherLock);
    SetKey(key);
    for (std::size_t at = 0; at < coded.size() || at == 0; at += kPieceChars) {
        const std::string piece = coded.substr(at, kPieceChars);
        unsigned char buffer[kPieceBuffer] = {};
        Base64Decrypt(piece.c_str(), static_cast<int>(piece.size()), buffer);
        plain += UpToFirstZero(buffer, sizeof buffer);
    }
    return plain;
}

std::string UrlEncode(const std::string& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          std::string_view("!$'()*-.@_").find(char(c)) != std::string_view::npos;
        if (kept) {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string GetMacText()
{
    char buffer[MACPROBE_BUFFER_SIZE] = {};
    return GetMacAddr(buffer) >= 0 ? std::string(buffer) : std::string();
}

std::string GetDiskSerialText(const std::string& root)
{
    const std::uint32_t serial = VolumeSerialNumber(root).value_or(0);
    char text[9];
    std::snprintf(text, sizeof text, "%04X%04X", unsigned(serial >> 16), unsigned(serial & 0xFFFF));
    return text;
}

std::string PlayRecord(const RecordFields& fields)
{
    std::string record;
    for (const auto& [key, value] : fields) {
        if (value.find_first_of("^|") != std::string::npos)
            throw ServiceError("value of field " + key + " contains a record separator: " + value);
        if (!record.empty())
            record += '|';
        record += key + '^' + value;
    }
    return record;
}

ServiceReply::ServiceReply() : doc_(std::make_shared<pugi::xml_document>()) {}

std::string ServiceReply::Result(const char* name) const { return result_.child(name).text().get(); }

std::string ServiceReply::RootText(const char* name) const { return root_.child(name).text().get(); }

ServiceReply ServiceReply::FromBody(const std::string& body)
{
    ServiceReply reply;
    const std::string text = DecipherText(kReplyKey, body);
    if (text.empty() || !IsValidUtf8(text))
        return reply;
    const pugi::xml_parse_result parsed =
        reply.doc_->load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        throw ServiceError(std::string("reply is not well-formed XML: ") + parsed.description() + " at offset " +
                           std::to_string(parsed.offset));
    reply.root_ = reply.doc_->document_element();
    reply.result_ = reply.root_.child("RESULT");
    return reply;
}

namespace {

// The record goes out in the terminals' wire code page.
std::string EncipherRecord(const std::string& record)
{
    try {
        return EncipherText(kRequestKey, Utf8ToCp949(record));
    } catch (const CodePageError& e) {
        throw ServiceError(std::string("record cannot be sent: ") + e.what());
    }
}

} // namespace

ServiceReply ServiceClient::ServiceRequest(const std::string& command, const std::string& record,
                                           PduEncoding encoding) const
{
    const std::string pdu = EncipherRecord(record);
    const std::string url = BaseUrl() + "/ZUVU_SCS/pcs.do?CMD=" + command + "&V=01&C=20&PDU=" +
                            (encoding == PduEncoding::UrlEncoded ? UrlEncode(pdu) : pdu);
    return ServiceReply::FromBody(http_.Get(url));
}

ServiceReply ServiceClient::MediaNotice(const std::string& command, const std::string& param) const
{
    return ServiceReply::FromBody(http_.Get(BaseUrl() + "/ZUVU_SCS/pcs.do?V=01&C=20&CMD=" + command + "&PARAM=" + param));
}

ServiceReply ServiceClient::FinderRequest(const std::string& command, const std::string& record) const
{
    const std::string pdu = EncipherRecord(record);
    return ServiceReply::FromBody(http_.Get(BaseUrl() + "/ZUVU_SCS/scs.do?CMD=" + command + "&PDU=" + pdu));
}

} // namespace lodgeview
