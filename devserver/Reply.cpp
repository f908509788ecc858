#include "devserver/Reply.h"

#include <sstream>
#include <utility>

namespace lodgeview::devserver {
namespace {

std::string Serialize(const pugi::xml_document& doc, const char* encoding)
{
    pugi::xml_document out;
    pugi::xml_node declaration = out.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = encoding;
    out.append_copy(doc.document_element());
    std::ostringstream text;
    out.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.str();
}

} // namespace

std::string QueryValue(const Query& query, const std::string& name)
{
    const auto it = query.find(name);
    return it == query.end() ? std::string() : it->second;
}

Reply PageReply(std::string html)
{
    Reply reply;
    reply.text = std::move(html);
    return reply;
}

Reply TextReply(int status, std::string text)
{
    Reply reply;
    reply.status = status;
    reply.contentType = "text/plain; charset=UTF-8";
    reply.text = std::move(text);
    return reply;
}

Reply BytesReply(std::shared_ptr<const std::string> bytes, std::size_t offset, std::string contentType)
{
    Reply reply;
    reply.kind = ReplyKind::Bytes;
    reply.contentType = std::move(contentType);
    reply.bytes = std::move(bytes);
    reply.offset = offset;
    return reply;
}

ResultDocument::ResultDocument(const std::string& message)
{
    result_ = doc_.append_child("PDU").append_child("RESULT");
    Add("MESSAGE", message);
}

ResultDocument& ResultDocument::Add(const char* name, const std::string& text)
{
    result_.append_child(name).text().set(text.c_str());
    return *this;
}

std::string ResultDocument::Text(const char* encoding) const { return Serialize(doc_, encoding); }

std::string ResultDocument::Refusal(const std::string& code, const std::string& reason)
{
    return ResultDocument(reason).Add("CODE", code).Text();
}

std::string ResultDocument::Unreadable(const std::string& code, const std::string& reason)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("PDU");
    root.append_child("CODE").text().set(code.c_str());
    root.append_child("MESSAGE").text().set(reason.c_str());
    return Serialize(doc, "UTF-8");
}

} // namespace lodgeview::devserver
