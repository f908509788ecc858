#include "devserver/AdDesk.h"

#include "platform/CodePage.h"
#include "player/service/ServiceExchange.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lodgeview::devserver {
namespace {

namespace fs = std::filesystem;

constexpr char kServedPrefix[] = "/ZUVU_SCS/adv/";

// A name the list can carry: not hidden, no "\" (the folder separator of NM_LOCALPATH),
// UTF-8 that the CP949 reply can hold.
bool Listable(const std::string& name)
{
    if (name.empty() || name[0] == '.' || name.find('\\') != std::string::npos || !IsValidUtf8(name))
        return false;
    try {
        Utf8ToCp949(name);
        return true;
    } catch (const CodePageError&) {
        return false;
    }
}

// One path segment percent-encoded; the terminals' encoder writes a blank as "+", which a path
// would keep as a plus sign.
std::string EncodeSegment(const std::string& segment)
{
    std::string out;
    for (const char c : UrlEncode(segment))
        out += c == '+' ? std::string("%20") : std::string(1, c);
    return out;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// FNV-1a, 32 bits.
void Digest(std::uint32_t& hash, const std::string& bytes)
{
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    hash = (hash ^ 0xFFu) * 16777619u; // separates consecutive texts
}

std::string LeadingDelay(const std::string& name)
{
    std::size_t digits = 0;
    while (digits < name.size() && digits < 9 && name[digits] >= '0' && name[digits] <= '9')
        ++digits;
    const long delay = digits ? std::stol(name.substr(0, digits)) : 0;
    return std::to_string(delay > 0 ? delay : 5000);
}

std::string MimeType(const std::string& path)
{
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".png")
        return "image/png";
    if (ext == ".jpg" || ext == ".jpeg")
        return "image/jpeg";
    if (ext == ".bmp")
        return "image/bmp";
    if (ext == ".gif")
        return "image/gif";
    return "application/octet-stream";
}

} // namespace

AdListing AdDesk::Scan() const
{
    AdListing listing;
    std::error_code ec;
    std::vector<fs::path> categories;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && Listable(it->path().filename().string()))
            categories.push_back(it->path());
    }
    std::sort(categories.begin(), categories.end());

    std::uint32_t hash = 2166136261u;
    for (const fs::path& category : categories) {
        std::vector<AdFile> files;
        for (fs::recursive_directory_iterator it(category, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path relative = it->path().lexically_relative(category);
            const bool listable = std::all_of(relative.begin(), relative.end(),
                                              [](const fs::path& part) { return Listable(part.string()); });
            if (!listable) {
                if (it->is_directory(ec))
                    it.disable_recursion_pending();
                continue;
            }
            if (!it->is_regular_file(ec))
                continue;
            AdFile file;
            file.category = category.filename().string();
            file.diskPath = it->path().string();
            file.size = it->file_size(ec);
            file.servedPath = kServedPrefix + file.category;
            file.urlPath = kServedPrefix + EncodeSegment(file.category);
            for (const fs::path& part : relative) {
                file.localPath += (file.localPath.empty() ? "" : "\\") + part.string();
                file.servedPath += "/" + part.string();
                file.urlPath += "/" + EncodeSegment(part.string());
            }
            files.push_back(std::move(file));
        }
        std::sort(files.begin(), files.end(), [](const AdFile& a, const AdFile& b) { return a.localPath < b.localPath; });
        for (AdFile& file : files) {
            Digest(hash, file.servedPath);
            Digest(hash, ReadAll(file.diskPath));
            listing.files.push_back(std::move(file));
        }
    }
    char version[9];
    std::snprintf(version, sizeof version, "%08X", unsigned(hash));
    listing.version = version;
    return listing;
}

Reply AdDesk::AdList(const Query& query, const std::string& baseUrl) const
{
    Reply reply;
    reply.kind = ReplyKind::XmlCp949;
    reply.contentType = "text/xml; charset=EUC-KR";
    if (QueryValue(query, "CMD") != "IF-ADV-01") {
        reply.text = ResultDocument::Refusal("E100", "unknown command");
        return reply;
    }
    const AdListing listing = Scan();
    ResultDocument doc;
    doc.Add("CODE", "0000").Add("VER", listing.version);
    pugi::xml_node list;
    std::string category;
    int order = 0;
    for (const AdFile& file : listing.files) {
        if (!list || file.category != category) {
            category = file.category;
            order = 0;
            list = doc.Root().append_child("ADV_LIST");
            list.append_child("CATEGORY").text().set(category.c_str());
        }
        pugi::xml_node item = list.append_child("OSD_LIST");
        const std::string name = fs::path(file.diskPath).filename().string();
        const std::pair<const char*, std::string> fields[] = {
            {"NM_URL", baseUrl + file.urlPath}, {"NM_LOCALPATH", file.localPath}, {"NM_FILENAME", name},
            {"FILE_SIZE", std::to_string(file.size)}, {"DELAY", LeadingDelay(name)}, {"NO_ALPHA", "255"},
            {"NO_ORDER", std::to_string(++order)},
        };
        for (const auto& [key, value] : fields)
            item.append_child(key).text().set(value.c_str());
    }
    reply.text = doc.Text("euc-kr");
    return reply;
}

Reply AdDesk::File(const std::string& path) const
{
    for (const AdFile& file : Scan().files) {
        if (file.servedPath == path)
            return BytesReply(std::make_shared<const std::string>(ReadAll(file.diskPath)), 0, MimeType(path));
    }
    return TextReply(404, "no such file");
}

} // namespace lodgeview::devserver
