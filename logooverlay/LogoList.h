#pragma once
// The list of logo pictures the video overlay cycles through while a movie plays, in the logo
// filter's "logo-file" syntax: "<picture>, <display time ms>, 200" entries joined by ";".
#include <string>

namespace lodgeview {

// Display time of a picture from the leading number of its file name: the first 10 characters
// read as a decimal integer (leading blanks skipped, optional sign, digits up to the first
// non-digit, saturating at the 32-bit limits); 0 or less, or no number, means 60000.
int LogoDisplayTime(const std::string& fileName);

// adv/logo/ + ("s" when the options hold "deinterlace", any case) + "logo" + ("a" for the
// variant): the folder the sync program fills for this kind of movie.
std::string LogoFolder(const std::string& baseFolder, const std::string& playerOptions, bool variant);

// Entries for the non-empty files directly in folder (not sub-folders), in enumeration order;
// "" for a missing or empty folder.
std::string BuildLogoList(const std::string& folder);

// Rebuilds the list for the installation in baseFolder and writes it to logo.ini [LOGO]
// logo-file (also when empty); returns the list.
std::string RebuildLogoIni(const std::string& baseFolder, bool variant);

} // namespace lodgeview
