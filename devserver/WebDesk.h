#pragma once
// The server's web pages and plain replies for the terminals' browsers and the cartoon button:
// the two menu pages, the mini window's redirect pages, the cartoon reply and page, and the
// purchase page with the order it records. Pages are UTF-8 HTML.
#include "devserver/Catalogue.h"
#include "devserver/Reply.h"
#include "devserver/Terminals.h"

#include <string>

namespace lodgeview::devserver {

// The size the purchase page gives its window (window.resizeTo); the payment dialog's
// background picture is drawn to it. The top 50 pixels of the page are covered by the dialog.
inline constexpr int kPurchaseWindowWidth = 360;
inline constexpr int kPurchaseWindowHeight = 320;

// "TAVIRA_VIDEO=" and the title's four fields, each behind a name of the length the player
// skips (12, 6, 8 and 14 characters with the "=").
std::string PlayCommand(const Title& title);

enum class MenuLayout {
    Strip,  // movie.do, the strip under the title picture
    Column, // new_movie.do, the menu column
};

class WebDesk {
public:
    WebDesk(const Catalogue& catalogue, OrderBook& orders) : catalogue_(catalogue), orders_(orders) {}

    // Every title as an element whose id is the title's id; a click sets window.status to its
    // play command (after clearing it, so that a second click on the same title is reported).
    Reply MenuPage(MenuLayout layout) const;
    // id_ban 21: the mini window's banner, 22: its poster; 404 otherwise.
    Reply RedirectPage(const Query& query) const;
    // IF_001: plain XML whose root's first child holds URL, the cartoon page's address. Any other
    // CMD gets a refusal without URL.
    Reply CartoonReply(const Query& query, const std::string& baseUrl) const;
    Reply CartoonPage() const;
    // The purchase page of a paid title (query NO_ROOM, CONTENT_ID, ID_MAC): shows the price and
    // places its window. Script functions and button ids a host can drive:
    //   pay() / button PAY: records the order (PlaceOrder) and shows the confirmation pane;
    //   confirmPurchase() / button SUCC (in the confirmation pane):
    //       window.status = "RESULT=SUCCEEDED|NO_ORDER=" + order number;
    //   cancelPurchase() / button CANCEL: window.status = "RESULT=CLOSE".
    // 404 for a title that is unknown or not paid, 400 for a query that is not UTF-8.
    Reply PurchasePage(const Query& query) const;
    // MVK_PURCHASE_ORDER.PHP, same query: records the purchase and answers the order number
    // as plain text; 404 and 400 as for the page.
    Reply PlaceOrder(const Query& query);

private:
    const Catalogue& catalogue_;
    OrderBook& orders_;
};

} // namespace lodgeview::devserver
