#pragma once
// The ad and OSD list (adv.do, IF-ADV-01) and its files, built from a folder of pictures on
// every request, so that a test or a demo can change the pictures while the server runs:
//
//   <folder>/<CATEGORY>/<path>   one ADV_LIST per category folder, one OSD_LIST per file below
//                                it; NM_LOCALPATH is <path> with "\" between folders
//
// DELAY is the number the file name starts with (5000 when none), NO_ALPHA 255, NO_ORDER the
// file's place in its category (by path), VER a digest of every listed name and content, so
// any change gives a new version. Files outside category folders, hidden ones and names that
// are not CP949-compatible UTF-8 (or hold "\") are left out. The reply is in CP949, the
// terminals' wire code page, and declares it.
#include "devserver/Reply.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lodgeview::devserver {

struct AdFile {
    std::string category;
    std::string localPath;  // NM_LOCALPATH
    std::string servedPath; // request path that serves the file (not percent-encoded)
    std::string urlPath;    // the same, percent-encoded for NM_URL
    std::string diskPath;
    std::uintmax_t size = 0;
};

struct AdListing {
    std::string version;
    std::vector<AdFile> files; // by category, then path
};

class AdDesk {
public:
    explicit AdDesk(std::string folder) : folder_(std::move(folder)) {}

    // An absent folder gives an empty listing.
    AdListing Scan() const;
    // The list for CMD=IF-ADV-01 (CODE "0000"); any other CMD gets CODE E100 and no list.
    Reply AdList(const Query& query, const std::string& baseUrl) const;
    // A listed file by its request path; 404 for anything else.
    Reply File(const std::string& path) const;

private:
    std::string folder_;
};

} // namespace lodgeview::devserver
