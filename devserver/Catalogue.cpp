#include "devserver/Catalogue.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace lodgeview::devserver {
namespace {

constexpr char kDefaultXml[] = R"xml(<?xml version="1.0" encoding="UTF-8"?>
<catalogue site="한빛모텔" connect-count="3">
  <title id="M1001" name="봄날의 기차" clip="movie.ts" ad="ad.ts" rating="G"/>
  <title id="M1002" name="한강의 밤" clip="movie.ts" rating="15"/>
  <title id="M2001" name="달빛 추적자" clip="movie.ts" ad="ad.ts" ppv="Y" price="3000" rating="15"/>
  <title id="M2002" name="무료 시사회" clip="movie.ts" ppv="Y" price="0" rating="12"/>
  <title id="X3001" name="붉은 방" clip="movie.ts" ppv="Y" price="5000" rating="X"/>
  <title id="Y3002" name="자정의 손님" clip="movie.ts" ad="ad.ts" rating="Y"/>
  <title id="P4001" name="달빛 추적자 (예고편)" clip="preview.ts" rating="G" preview="Y" preview-ms="30000"/>
  <title id="F5001" name="특별 상영" clip="preview.ts" rating="G" preview="F"/>
</catalogue>
)xml";

bool OnlyOf(const std::string& text, const char* extra)
{
    return std::all_of(text.begin(), text.end(), [extra](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               (c != '\0' && std::strchr(extra, c));
    });
}

long Number(const std::string& text, const std::string& what)
{
    if (text.empty() || text.size() > 9 || !OnlyOf(text, ""))
        throw CatalogueError(what + " is not a whole number: \"" + text + "\"");
    return std::stol(text);
}

// Clip names are plain file names of the media folder.
void CheckClipName(const std::string& name, const std::string& what)
{
    if (name.empty() || name[0] == '.' || !OnlyOf(name, "._-"))
        throw CatalogueError(what + " is not a plain file name: \"" + name + "\"");
}

// Texts of the play command must not hold its field separator.
void CheckCommandText(const std::string& text, const std::string& what)
{
    if (text.find('|') != std::string::npos)
        throw CatalogueError(what + " must not contain \"|\": \"" + text + "\"");
}

Title ReadTitle(const pugi::xml_node& node)
{
    Title title;
    bool hasId = false, hasName = false, hasClip = false;
    for (const pugi::xml_attribute& a : node.attributes()) {
        const std::string name = a.name(), value = a.value();
        if (name == "id") {
            title.id = value, hasId = true;
        } else if (name == "name") {
            title.name = value, hasName = true;
        } else if (name == "clip") {
            title.clip = value, hasClip = true;
        } else if (name == "ad") {
            title.ad = value;
        } else if (name == "ppv") {
            title.ppv = value;
        } else if (name == "price") {
            title.price = Number(value, "price");
        } else if (name == "rating") {
            title.rating = value;
        } else if (name == "preview") {
            title.preview = value;
        } else if (name == "preview-ms") {
            title.previewMs = value;
        } else {
            throw CatalogueError("unknown attribute \"" + name + "\" of a title");
        }
    }
    if (!hasId || !hasName || !hasClip)
        throw CatalogueError("a title lacks one of the attributes id, name and clip");
    const std::string what = "title " + title.id + ": ";
    if (title.id.empty() || title.id.size() > 32 || !OnlyOf(title.id, "-_"))
        throw CatalogueError("title id must be 1 to 32 letters, digits, \"-\" or \"_\": \"" + title.id + "\"");
    if (title.name.empty())
        throw CatalogueError(what + "empty name");
    CheckClipName(title.clip, what + "clip");
    if (!title.ad.empty())
        CheckClipName(title.ad, what + "ad");
    CheckCommandText(title.rating, what + "rating");
    CheckCommandText(title.preview, what + "preview");
    if (!title.previewMs.empty())
        Number(title.previewMs, what + "preview-ms");
    return title;
}

} // namespace

const Title* Catalogue::Find(const std::string& id) const
{
    const auto it = std::find_if(titles.begin(), titles.end(), [&](const Title& t) { return t.id == id; });
    return it == titles.end() ? nullptr : &*it;
}

std::vector<std::string> Catalogue::Clips() const
{
    std::vector<std::string> clips;
    for (const Title& t : titles) {
        for (const std::string* clip : {&t.clip, &t.ad}) {
            if (!clip->empty() && std::find(clips.begin(), clips.end(), *clip) == clips.end())
                clips.push_back(*clip);
        }
    }
    return clips;
}

Catalogue Catalogue::FromXml(const std::string& xml)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
    if (!parsed)
        throw CatalogueError(std::string("not well-formed XML: ") + parsed.description() + " at offset " +
                             std::to_string(parsed.offset));
    const pugi::xml_node root = doc.document_element();
    if (std::string(root.name()) != "catalogue")
        throw CatalogueError("the root element must be \"catalogue\"");

    Catalogue catalogue;
    for (const pugi::xml_attribute& a : root.attributes()) {
        const std::string name = a.name();
        if (name == "site")
            catalogue.site = a.value();
        else if (name == "connect-count")
            catalogue.connectCount = Number(a.value(), "connect-count");
        else
            throw CatalogueError("unknown attribute \"" + name + "\" of the catalogue");
    }
    std::set<std::string> ids;
    for (const pugi::xml_node& node : root.children()) {
        if (node.type() != pugi::node_element)
            continue;
        if (std::string(node.name()) != "title")
            throw CatalogueError("unknown element \"" + std::string(node.name()) + "\" in the catalogue");
        Title title = ReadTitle(node);
        if (!ids.insert(title.id).second)
            throw CatalogueError("duplicate title id " + title.id);
        catalogue.titles.push_back(std::move(title));
    }
    return catalogue;
}

Catalogue Catalogue::FromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CatalogueError("cannot read the catalogue " + path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return FromXml(text.str());
    } catch (const CatalogueError& e) {
        throw CatalogueError(path + ": " + e.what());
    }
}

Catalogue Catalogue::Default() { return FromXml(kDefaultXml); }

const char* DefaultCatalogueXml() { return kDefaultXml; }

} // namespace lodgeview::devserver
