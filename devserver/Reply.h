#pragma once
// A reply of the substitute VOD server as its logic produces it, before the fault switches and
// the wire encoding have had their say.
#include <pugixml.hpp>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

namespace lodgeview::devserver {

// Query parameters as the HTTP layer decodes them (the same type as httplib::Params).
using Query = std::multimap<std::string, std::string>;

// Value of the first parameter `name`, "" when absent.
std::string QueryValue(const Query& query, const std::string& name);

enum class ReplyKind {
    Page,         // HTML or other text, sent as it is
    Xml,          // plain XML document, UTF-8
    XmlCp949,     // plain XML document, sent in the terminals' wire code page
    ServiceXml,   // XML document sent enciphered with the reply key
    Bytes,        // a file or stream: `bytes` from `offset` on
};

struct Reply {
    int status = 200;
    std::string contentType = "text/html; charset=UTF-8";
    ReplyKind kind = ReplyKind::Page;
    std::string text;  // document of every kind but Bytes, UTF-8
    std::shared_ptr<const std::string> bytes;
    std::size_t offset = 0;

    bool IsXml() const { return kind == ReplyKind::Xml || kind == ReplyKind::XmlCp949 || kind == ReplyKind::ServiceXml; }
};

Reply PageReply(std::string html);
// A short plain-text reply, for errors of requests that are not service commands.
Reply TextReply(int status, std::string text);
Reply BytesReply(std::shared_ptr<const std::string> bytes, std::size_t offset, std::string contentType);

// The reply documents of the XML endpoints: a root PDU with a RESULT whose children are
// MESSAGE ("SUCCESS" on success), CODE on failure and the command's own values. Built with
// pugixml, so every text is escaped.
class ResultDocument {
public:
    explicit ResultDocument(const std::string& message = "SUCCESS");

    // Appends RESULT/name with the given text.
    ResultDocument& Add(const char* name, const std::string& text);
    // The root, for replies with elements beside RESULT.
    pugi::xml_node Root() { return doc_.document_element(); }
    // The document without indentation (readers that take "the first child node" must not
    // meet blank text), declaring the given encoding.
    std::string Text(const char* encoding = "UTF-8") const;

    // RESULT with MESSAGE = reason and CODE = code: a refusal the terminal reads.
    static std::string Refusal(const std::string& code, const std::string& reason);
    // No RESULT at all, the root's own CODE and MESSAGE: a request the server could not read.
    static std::string Unreadable(const std::string& code, const std::string& reason);

private:
    pugi::xml_document doc_;
    pugi::xml_node result_;
};

} // namespace lodgeview::devserver
