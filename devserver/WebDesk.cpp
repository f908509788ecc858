#include "devserver/WebDesk.h"

#include "devserver/RequestLog.h"
#include "platform/CodePage.h"
#include "player/service/ServiceExchange.h"

#include <cstdio>
#include <optional>
#include <variant>

namespace lodgeview::devserver {
namespace {

// Names of the play command's fields; the player skips them by length alone.
constexpr char kIdName[] = "CONTENT_IDX=";
constexpr char kRatingName[] = "GRADE=";
constexpr char kPreviewName[] = "PREVIEW=";
constexpr char kPreviewLengthName[] = "PREVIEW_LIMIT=";
static_assert(sizeof kIdName - 1 == 12 && sizeof kRatingName - 1 == 6 && sizeof kPreviewName - 1 == 8 &&
              sizeof kPreviewLengthName - 1 == 14);

std::string HtmlEscape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

// 3000 -> "3,000원"
std::string Won(long amount)
{
    std::string digits = std::to_string(amount);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits + "원";
}

std::string Document(const std::string& title, const std::string& style, const std::string& script,
                     const std::string& body)
{
    return "<!DOCTYPE html>\n<html lang=\"ko\"><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
           "</title>\n<style>\nbody{margin:0;background:#37363a;color:#f0f0f0;font-family:'NanumGothic',sans-serif;"
           "font-size:13px}\n" +
           style + "</style>\n" + (script.empty() ? "" : "<script>\n" + script + "</script>\n") + "</head>\n<body>\n" +
           body + "</body></html>\n";
}

std::string Badges(const Title& title)
{
    std::string badges = "<span class=\"badge\">" + (title.IsPaid() ? Won(title.price) : std::string("무료")) + "</span>";
    if (title.IsAdult())
        badges += "<span class=\"badge adult\">19</span>";
    if (title.preview == "Y")
        badges += "<span class=\"badge\">예고편</span>";
    return badges;
}

// The purchase query's values and the paid title it names.
struct PurchaseQuery {
    std::string room, contentId, mac;
    const Title* title = nullptr;
};

// The query, or the reply that refuses it: values that are not UTF-8 text, or no paid title.
std::variant<PurchaseQuery, Reply> ReadPurchaseQuery(const Query& query, const Catalogue& catalogue)
{
    PurchaseQuery q{QueryValue(query, "NO_ROOM"), QueryValue(query, "CONTENT_ID"), QueryValue(query, "ID_MAC")};
    if (!IsValidUtf8(q.room) || !IsValidUtf8(q.contentId) || !IsValidUtf8(q.mac))
        return TextReply(400, "query values must be UTF-8 text");
    q.title = catalogue.Find(q.contentId);
    if (!q.title || !q.title->IsPaid())
        return TextReply(404, "no paid title " + q.contentId);
    return q;
}

} // namespace

std::string PlayCommand(const Title& title)
{
    return std::string("TAVIRA_VIDEO=") + kIdName + title.id + "|" + kRatingName + title.rating + "|" + kPreviewName +
           title.preview + "|" + kPreviewLengthName + title.previewMs;
}

Reply WebDesk::MenuPage(MenuLayout layout) const
{
    const bool strip = layout == MenuLayout::Strip;
    std::string items;
    for (const Title& title : catalogue_.titles) {
        items += "<div class=\"title\" id=\"" + HtmlEscape(title.id) + "\" data-command=\"" +
                 HtmlEscape(PlayCommand(title)) + "\" onclick=\"play(this.dataset.command)\"><div class=\"name\">" +
                 HtmlEscape(title.name) + "</div><div>" + Badges(title) + "</div></div>\n";
    }
    const std::string style =
        std::string(".titles{display:flex;gap:6px;padding:6px;") +
        (strip ? "flex-direction:row;overflow-x:auto}\n.title{flex:0 0 120px;height:140px}\n"
               : "flex-direction:column}\n.title{min-height:44px}\n") +
        ".title{background:#4a494e;border-radius:4px;padding:8px;box-sizing:border-box;cursor:pointer}\n"
        ".title:hover{background:#5e5d63}\n.name{font-weight:bold;margin-bottom:6px}\n"
        ".badge{display:inline-block;background:#2b2a2e;border-radius:3px;padding:1px 5px;margin-right:4px}\n"
        ".adult{background:#b3261e}\n";
    const std::string script =
        "// The player reads its play command from the status text. Clearing it first makes a\n"
        "// second click on the same title a change the browser reports again.\n"
        "function play(command) { window.status = \"\"; window.status = command; }\n";
    return PageReply(Document(strip ? "새 영화" : "영화 목록", style, script,
                              "<div class=\"titles\">\n" + items + "</div>\n"));
}

Reply WebDesk::RedirectPage(const Query& query) const
{
    const std::string banner = QueryValue(query, "id_ban");
    const std::string site = HtmlEscape(catalogue_.site);
    if (banner == "21") {
        return PageReply(Document("배너", ".banner{height:59px;display:flex;align-items:center;justify-content:center;"
                                          "font-size:15px;font-weight:bold;background:#26466d}\n",
                                  "", "<div class=\"banner\">" + site + " 영화 서비스</div>\n"));
    }
    if (banner == "22") {
        std::string list;
        for (std::size_t i = 0; i < catalogue_.titles.size() && i < 4; ++i)
            list += "<li>" + HtmlEscape(catalogue_.titles[i].name) + "</li>";
        return PageReply(Document("추천 영화", "h1{font-size:14px;margin:6px 8px}\nul{margin:0;padding-left:24px}\n", "",
                                  "<h1>오늘의 추천</h1><ul>" + list + "</ul>\n"));
    }
    return TextReply(404, "no banner " + banner);
}

Reply WebDesk::CartoonReply(const Query& query, const std::string& baseUrl) const
{
    Reply reply;
    reply.kind = ReplyKind::Xml;
    reply.contentType = "text/xml; charset=UTF-8";
    if (QueryValue(query, "CMD") == "IF_001")
        reply.text = ResultDocument().Add("URL", baseUrl + "/ZUVU_MS/cartoon_view.do").Text();
    else
        reply.text = ResultDocument::Refusal("E100", "unknown command");
    return reply;
}

Reply WebDesk::CartoonPage() const
{
    std::string shelf;
    for (const char* book : {"고양이 탐정 1권", "고양이 탐정 2권", "우주 택배 1권", "바다 마을 이야기"})
        shelf += "<li>" + std::string(book) + "</li>";
    return PageReply(Document("만화", "h1{font-size:18px;margin:12px}\nul{font-size:15px}\n", "",
                              "<h1>" + HtmlEscape(catalogue_.site) + " 만화방</h1><ul>" + shelf + "</ul>\n"));
}

Reply WebDesk::PurchasePage(const Query& query) const
{
    const auto read = ReadPurchaseQuery(query, catalogue_);
    if (const Reply* refusal = std::get_if<Reply>(&read))
        return *refusal;
    const PurchaseQuery* q = &std::get<PurchaseQuery>(read);
    const Title* title = q->title;

    const std::string width = std::to_string(kPurchaseWindowWidth), height = std::to_string(kPurchaseWindowHeight);
    const std::string orderAddress = "MVK_PURCHASE_ORDER.PHP?NO_ROOM=" + UrlEncode(q->room) +
                                     "&CONTENT_ID=" + UrlEncode(q->contentId) + "&ID_MAC=" + UrlEncode(q->mac);
    const std::string style =
        "body{background:#1f1e22;padding-top:50px;width:" + width + "px;text-align:center}\n"
        "h1{font-size:17px;margin:8px}\n.price{font-size:22px;color:#ffd54a;margin:6px}\n"
        "button{font-size:14px;padding:6px 18px;margin:6px}\n.error{color:#ff8a80}\n";
    const std::string script =
        "var orderAddress = " + JsonString(orderAddress) + ";\n"
        "var order = \"\";\n"
        "function report(text) { window.status = text; }\n"
        "function pay() {\n"
        "  document.getElementById(\"PAY\").disabled = true;\n"
        "  fetch(orderAddress).then(function (r) { if (!r.ok) throw new Error(r.status); return r.text(); })\n"
        "    .then(function (number) {\n"
        "      order = number;\n"
        "      document.getElementById(\"ORDER\").textContent = number;\n"
        "      document.getElementById(\"offer\").hidden = true;\n"
        "      document.getElementById(\"confirm\").hidden = false;\n"
        "    })\n"
        "    .catch(function () {\n"
        "      document.getElementById(\"failed\").hidden = false;\n"
        "      document.getElementById(\"PAY\").disabled = false;\n"
        "    });\n"
        "}\n"
        "function confirmPurchase() { report(\"RESULT=SUCCEEDED|NO_ORDER=\" + order); }\n"
        "function cancelPurchase() { report(\"RESULT=CLOSE\"); }\n"
        "// The payment dialog starts off-screen at size zero; the page brings it into view.\n"
        "window.addEventListener(\"load\", function () {\n"
        "  window.moveTo(Math.max(0, Math.round((screen.availWidth - " + width + ") / 2)),\n"
        "                Math.max(0, Math.round((screen.availHeight - " + height + ") / 2)));\n"
        "  window.resizeTo(" + width + ", " + height + ");\n"
        "});\n";
    const std::string body =
        "<div id=\"offer\"><h1>" + HtmlEscape(title->name) + "</h1><div class=\"price\">" + Won(title->price) +
        "</div><p>객실 " + HtmlEscape(q->room) + " · 휴대폰 결제</p>"
        "<button id=\"PAY\" onclick=\"pay()\">결제</button><button id=\"CANCEL\" onclick=\"cancelPurchase()\">취소</button>"
        "<p id=\"failed\" class=\"error\" hidden>결제하지 못했습니다. 다시 시도해 주세요.</p></div>\n"
        "<div id=\"confirm\" hidden><h1>결제가 완료되었습니다</h1><p>주문번호 <span id=\"ORDER\"></span></p>"
        "<button id=\"SUCC\" onclick=\"confirmPurchase()\">확인</button></div>\n";
    return PageReply(Document("유료 영화 결제", style, script, body));
}

Reply WebDesk::PlaceOrder(const Query& query)
{
    const auto read = ReadPurchaseQuery(query, catalogue_);
    if (const Reply* refusal = std::get_if<Reply>(&read))
        return *refusal;
    const PurchaseQuery& q = std::get<PurchaseQuery>(read);
    return TextReply(200, orders_.Place(q.mac, q.title->id));
}

} // namespace lodgeview::devserver
