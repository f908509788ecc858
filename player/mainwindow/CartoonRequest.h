#pragma once
// The cartoon service's address: a plain (not enciphered) IF_001 request whose XML reply names
// the address to open in the desktop's browser.
#include "player/service/HttpGet.h"
#include "player/startup/DataModule.h"

#include <optional>
#include <string>

namespace lodgeview {

std::string CartoonRequestUrl(const TDM& dm, const std::string& mac, const std::string& timeStamp);

// The text of URL among the children of the document element's first child; nothing when the
// reply is empty, not XML, or has no such element.
std::optional<std::string> CartoonUrlFromReply(const std::string& reply);

// Request and reply in one: what the cartoon button opens, or nothing (the guest is warned).
std::optional<std::string> RequestCartoonUrl(const TDM& dm, HttpClient& http);

} // namespace lodgeview
