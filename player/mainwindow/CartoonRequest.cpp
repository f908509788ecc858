#include "player/mainwindow/CartoonRequest.h"

#include "platform/TimeStamp.h"
#include "player/service/ServiceExchange.h"

#include <pugixml.hpp>

namespace lodgeview {

std::string CartoonRequestUrl(const TDM& dm, const std::string& mac, const std::string& timeStamp)
{
    return "http://" + dm.ServerHost + dm.PortSuffix + "/ZUVU_MS/cartoon.do?CMD=IF_001&ID_MAC=" + mac +
           "&TP_REQ=" + timeStamp;
}

std::optional<std::string> CartoonUrlFromReply(const std::string& reply)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(reply.data(), reply.size()))
        return std::nullopt;
    const pugi::xml_node url = doc.document_element().first_child().child("URL");
    if (!url)
        return std::nullopt;
    return std::string(url.text().get());
}

std::optional<std::string> RequestCartoonUrl(const TDM& dm, HttpClient& http)
{
    return CartoonUrlFromReply(http.Get(CartoonRequestUrl(dm, GetMacText(), LocalTimeStamp())));
}

} // namespace lodgeview
