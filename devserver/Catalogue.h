#pragma once
// The titles the substitute VOD server offers, its site name and its load figure. Read from a
// small XML file or taken from the built-in default (DefaultCatalogueXml), in this format:
//
//   <catalogue site="한빛모텔" connect-count="3">
//     <title id="M2001" name="달빛 추적자" clip="movie.ts" ad="ad.ts" ppv="Y" price="3000"
//            rating="15" preview="N" preview-ms=""/>
//   </catalogue>
//
// id, name and clip are required; the other attributes default to ad none, ppv "N", price 0,
// rating "G", preview "N", preview-ms empty. rating, preview and preview-ms are the texts the
// menu pages put into the play command; a title is paid when ppv is "Y" and price above 0.
#include <stdexcept>
#include <string>
#include <vector>

namespace lodgeview::devserver {

struct CatalogueError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Title {
    std::string id;       // content id (ID_MOVIE); letters, digits, "-" and "_"
    std::string name;     // shown on the pages, UTF-8
    std::string clip;     // file name of the movie clip in the media folder
    std::string ad;       // file name of the advertisement clip, "" for none
    std::string ppv = "N";  // IS_PPV
    long price = 0;       // PRICE, won
    std::string rating = "G";  // rating class; "X" and "Y" are adult titles
    std::string preview = "N"; // preview flag of the play command
    std::string previewMs;     // preview length of the play command, "" for the player's default

    bool IsPaid() const { return ppv == "Y" && price > 0; }
    bool IsAdult() const { return rating == "X" || rating == "Y"; }
};

struct Catalogue {
    std::string site;          // NM_SITE of IF-SCS-17
    long connectCount = 0;     // CONNECT_CNT of IF-ONS-37
    std::vector<Title> titles; // in page order

    const Title* Find(const std::string& id) const;
    // File names of every clip the titles use, each once.
    std::vector<std::string> Clips() const;

    // Throws CatalogueError naming the fault: not well-formed, an unknown element or
    // attribute, a missing or malformed value, a duplicate id.
    static Catalogue FromXml(const std::string& xml);
    static Catalogue FromFile(const std::string& path);
    static Catalogue Default();
};

// The built-in catalogue's text, a starting point for a file of one's own.
const char* DefaultCatalogueXml();

} // namespace lodgeview::devserver
