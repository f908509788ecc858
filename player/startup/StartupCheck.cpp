#include "player/startup/StartupCheck.h"

#include "platform/Registry.h"
#include "player/service/ServiceExchange.h"

#include <cstdio>

namespace lodgeview {

std::string GetSiteName(const TDM& dm, HttpClient& http)
{
    try {
        const ServiceReply reply = ServiceClient({dm.ServerHost, dm.PortSuffix}, http)
                                       .ServiceRequest("IF-SCS-17", PlayRecord({{"TP_VIEW", "20"}}),
                                                       ServiceClient::PduEncoding::Plain);
        return reply.HasResult() && reply.Succeeded() ? reply.Result("NM_SITE") : "";
    } catch (const ServiceError&) {
        // A broken reply is a failed lookup: the next start tries again.
        return "";
    }
}

StartupOutcome RunStartupCheck(const std::vector<std::string>& args, TDM& dm, HttpClient& http)
{
    const std::string installPath = ReadRegText(kNestgateKey, "Path");
    char message[512];
    if (args.size() != 2) {
        std::snprintf(message, sizeof message, "실행 파라메터가 부족해서 프로그램을 시작할 수 없습니다. [Count : %d]",
                      static_cast<int>(args.size()));
        return {false, message};
    }
    if (installPath.empty()) {
        std::snprintf(message, sizeof message, "레지스트리에 실행 경로가 등록되지 않았습니다.. [Path : %s]", installPath.c_str());
        return {false, message};
    }
    dm.ServerHost = args[0];
    dm.PortSuffix = args[1];
    dm.EquipId = "1";
    dm.RoomNo = "100";
    dm.SiteName = ReadRegText(kNestgateKey, "NM_SITE");
    if (dm.SiteName.empty()) {
        dm.SiteName = GetSiteName(dm, http);
        WriteRegValue(kNestgateKey, "NM_SITE", dm.SiteName);
    }
    return {};
}

std::string MainCaption(const std::string& siteName)
{
    return siteName.empty() ? "Lodgeview TV" : "Lodgeview TV  [" + siteName + "]";
}

} // namespace lodgeview
