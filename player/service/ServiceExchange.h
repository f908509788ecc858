#pragma once
// The enciphered exchange with the VOD server's service endpoints. A request carries a record
// of fields (the PDU), Blowfish-enciphered with the request key and Base64-encoded; the reply is
// an XML document enciphered with the reply key.
#include "player/service/HttpGet.h"

#include <pugixml.hpp>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace lodgeview {

inline constexpr char kRequestKey[] = "7d2a91f0c5e84b6fa03d5c19e8b24f70";
inline constexpr char kReplyKey[] = "b8e05c3fa17d4926d4b0e8a3c65f17d9";

// Longest record that enciphers into one 1024-character piece (760 bytes give 1016 characters).
inline constexpr std::size_t kMaxRecordBytes = 760;

// A record or reply the exchange cannot handle. Messages are meant for the caller's error box.
struct ServiceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Base64 of the Blowfish ciphertext of plain (bytes as they are). Throws ServiceError for a
// text over kMaxRecordBytes.
std::string EncipherText(const std::string& key, const std::string& plain);
// Deciphers coded piece by piece (1024 characters each, decoded independently); each piece
// contributes its bytes up to the first zero byte. Undecodable pieces contribute nothing.
std::string DecipherText(const std::string& key, const std::string& coded);

// Percent-encoding of the terminal protocol: letters, digits and ! $ ' ( ) * - . @ _ stay,
// a blank becomes "+", every other byte "%XX" with upper-case hex digits.
std::string UrlEncode(const std::string& text);

// The room PC's network address from MacProbe; "" when it reports none.
std::string GetMacText();
// Volume serial number of the volume holding root as 8 upper-case hex digits (high 16 bits
// first); "00000000" when the volume cannot be read.
std::string GetDiskSerialText(const std::string& root = "/");

using RecordFields = std::vector<std::pair<std::string, std::string>>;
// key "^" value, joined by "|", in the given order. Throws ServiceError when a value holds
// "^" or "|", which would shift the server's reading of every later field.
std::string PlayRecord(const RecordFields& fields);

// A deciphered reply. RESULT and its children are looked up by name; a missing element
// reads as "".
class ServiceReply {
public:
    ServiceReply();
    bool HasResult() const { return !result_.empty(); }
    // Text of RESULT's child element `name`.
    std::string Result(const char* name) const;
    // Text of the root element's own child `name` (CODE when RESULT is missing).
    std::string RootText(const char* name) const;
    // MESSAGE is exactly "SUCCESS".
    bool Succeeded() const { return Result("MESSAGE") == "SUCCESS"; }
    // The code a failure message shows: RESULT/CODE, or the root's CODE without RESULT.
    std::string FailureCode() const { return HasResult() ? Result("CODE") : RootText("CODE"); }

    // Reads a reply body: deciphered with the reply key, required to be UTF-8 (anything else
    // reads as an empty reply, which has no RESULT), then parsed. Throws ServiceError with the
    // parser's message when the text is not well-formed XML.
    static ServiceReply FromBody(const std::string& body);

private:
    std::shared_ptr<pugi::xml_document> doc_;
    pugi::xml_node root_;
    pugi::xml_node result_;
};

// Where the VOD server's service lives: "http://" + host + portSuffix, where portSuffix
// carries its own leading colon (or is empty).
struct ServerAddress {
    std::string host;
    std::string portSuffix;
};

// Composes, sends and reads the enciphered service commands. Stateless between calls and safe
// to use from two threads at once: the cipher library's single key schedule is taken under a
// lock, and every reply is parsed into a document of its own.
class ServiceClient {
public:
    enum class PduEncoding { UrlEncoded, Plain };

    ServiceClient(ServerAddress server, HttpClient& http) : server_(std::move(server)), http_(http) {}

    // Terminal command on pcs.do: CMD, V=01, C=20 and the enciphered record.
    ServiceReply ServiceRequest(const std::string& command, const std::string& record,
                                PduEncoding encoding = PduEncoding::UrlEncoded) const;
    // Media-control notice on pcs.do: a plain PARAM, enciphered reply.
    ServiceReply MediaNotice(const std::string& command, const std::string& param) const;
    // Server-finder command on scs.do (record sent without URL encoding).
    ServiceReply FinderRequest(const std::string& command, const std::string& record) const;

    std::string BaseUrl() const { return "http://" + server_.host + server_.portSuffix; }

private:
    ServerAddress server_;
    HttpClient& http_;
};

} // namespace lodgeview
