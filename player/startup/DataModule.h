#pragma once
// TDM: the player-wide settings, read once at start-up from the INI files of the installation
// folder and completed by the start-up check. Later code uses these values and never reads the
// command line, the registry or the INI files again.
#include <string>
#include <utility>
#include <vector>

namespace lodgeview {

struct TDM {
    std::string AppPath;            // installation folder, with trailing "/"
    std::string ServerHost;         // command-line parameter 1
    std::string PortSuffix;         // ":" + [HTTP] PORT, then command-line parameter 2
    std::string SiteName;           // registry NM_SITE, else looked up on the server
    std::string RoomNo = "100";
    std::string EquipId = "1";
    std::string DefaultPlayer;      // program that opens local media files; "" = associated one
    std::string StartMode = "0";    // "1": start with the mini window only
    std::string OptionDelimiter = "|";
    std::vector<std::string> PlayerOptions;  // given to the media player with every item
    bool IdentifyEnabled = false;   // adult titles need the age check
    bool CartoonEnabled = false;    // the cartoon service is offered
    std::vector<std::string> VideoExtList;
    std::vector<std::string> RatioList;
    int RatioIndex = -1;            // -1 when RatioList is empty, else the entry in force
    std::vector<std::pair<std::string, std::string>> NoticeList;
    std::string LastMovieUrl;

    // Fills the settings from NGTV.INI, NGTV_CONFIG.INI and CARTOON.INI in appPath.
    void DataModuleCreate(const std::string& appPath);
};

inline constexpr char kDefaultPlayerOptions[] = ":vout-filter=deinterlace|:deinterlace-mode=linear|http-caching=4000";

// A list value split into its entries (Options at its Delimiter, VIDEO_EXT and RATIO at "^"):
// an empty entry between two delimiters stays, a delimiter at the very end adds none, an empty
// text gives none, an empty delimiter leaves the text whole.
std::vector<std::string> SplitDelimitedList(const std::string& text, const std::string& delimiter);

// A SELECTED value as an integer; text that is not a decimal integer reads as 0, so one bad key
// does not stop the start-up.
int SelectedValue(const std::string& text);

} // namespace lodgeview
