#pragma once
// The service endpoints pcs.do and scs.do: reads a command's PDU (or its plain PARAM), decides,
// and answers with the XML document the terminals read. Failures are answered, never thrown:
//
//   no RESULT, root CODE (the request could not be read)
//     E100  unknown command, or a command sent to the other endpoint
//     E101  PDU missing, not deciphering to whole cipher blocks, or not a record of key^value fields
//     E102  a field the command needs is missing
//   RESULT with MESSAGE other than "SUCCESS" and CODE (the request was read and refused)
//     E201  no title with that ID_MOVIE
//     E202  a paid title that this terminal has not bought
//     E301  IF-VLC-30 from a terminal that has started no movie stream
#include "devserver/Catalogue.h"
#include "devserver/Reply.h"
#include "devserver/Terminals.h"
#include "devserver/TsClip.h"

#include <optional>
#include <string>

namespace lodgeview::devserver {

enum class ServiceEndpoint { Pcs, Scs };

struct ServiceCall {
    ServiceEndpoint endpoint = ServiceEndpoint::Pcs;
    std::string command;              // CMD
    std::optional<std::string> pdu;   // PDU as the HTTP layer decoded it ("+" may have become " ")
    std::optional<std::string> param; // PARAM of the media-control notices
    std::string baseUrl;              // "http://host:port" as the terminal reached the server
};

struct ServiceAnswer {
    Reply reply;        // kind ServiceXml
    std::string record; // the deciphered record in UTF-8, or the PARAM; "" when unreadable
};

class ServiceDesk {
public:
    ServiceDesk(const Catalogue& catalogue, const ClipShelf& clips, const OrderBook& orders,
                const PlayTracker& tracker)
        : catalogue_(catalogue), clips_(clips), orders_(orders), tracker_(tracker)
    {
    }

    ServiceAnswer Answer(const ServiceCall& call) const;

private:
    std::string PlayAuthorisation(const ServiceCall& call, const Title& title, const std::string& mac) const;

    const Catalogue& catalogue_;
    const ClipShelf& clips_;
    const OrderBook& orders_;
    const PlayTracker& tracker_;
};

} // namespace lodgeview::devserver
