#pragma once
// The payment window. It hosts the server's purchase page and learns from the page whether the
// guest bought the viewing.
//
// - The window starts off-screen at size zero; the purchase page brings it on screen with
//   window.moveTo / window.resizeTo. The background picture is W x H: the size the page gives
//   the window, with a 50-pixel title band at the top that holds the close button.
// - The payment pane loads the requested address and shows, at W x H and clipped below the
//   band, once its top document completes at that address. The address compared is the one the
//   browser starts loading for the request: the request as the browser normalises it (scheme and
//   host case, default port, "/" for an empty path, dot segments, percent-encoding). A redirect,
//   by the server or by a page script, completes at another address: the pane stays hidden.
// - A purchase page that fails to load before the pane shows ends the dialog with -2 at once:
//   nothing could bring the window on screen or report an outcome.
// - Status channel: every status text of the payment pane is read as a status record.
//   RESULT=SUCCEEDED ends the dialog with 0 and NO_ORDER as the order number, RESULT=CLOSE with
//   -2 and "-----", at once; other texts are ignored.
// - Confirmation pane: nothing loads it but the payment page, whose new windows (window.open,
//   links with a target) open in it. When a document completes there, its <button id="SUCC">
//   elements are hooked; the pane shows over the payment pane once one is hooked, and a click
//   counts as a purchase without an order number, ending the dialog 100 ms later. The hooks live
//   in the pane's page and go with the dialog.
// - The first outcome is final: whatever the pages report afterwards changes nothing.
// - The close button, Escape and closing the window end the dialog and leave the result as it
//   is (-2 before any outcome).
// - While the dialog exists, Enter is swallowed anywhere in its window, inside the pages too,
//   so that no form is submitted with it.
// - The window is dragged by any point that no pane or button covers.
//
// Pictures, from the image folder: "popup_ppv_bg.bmp" (background; missing: black, and the
// payment pane stays at size zero) and "pop_close.jpg" (close button strip; missing: an
// undrawn button that still reacts to clicks).
#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <QTimer>

#include <string>

class QWebEngineLoadingInfo;

namespace lodgeview {

class CHoverButton;
class QtWebBrowser;

class CMVK_PPVDlg final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kBought = 0;
    static constexpr int kNotBought = -2;

    // Starts loading the purchase page; imageFolder ends with "/". Run the dialog with exec(),
    // then read Result() and OrderNumber().
    CMVK_PPVDlg(const std::string& requestedUrl, const std::string& imageFolder);
    ~CMVK_PPVDlg() override;

    int Result() const { return result_; }
    // The order number of a purchase reported through the status channel; "" after a
    // confirmation-button purchase.
    const std::string& OrderNumber() const { return orderNumber_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnPaymentLoading(const QWebEngineLoadingInfo& loading);
    void OnPaymentComplete(bool topFrame, const std::string& url);
    void OnStatusText(const std::string& text);
    void OnConfirmationClick();

    std::string startedUrl_; // the requested address as the browser started loading it
    bool paymentShown_ = false;
    bool finished_ = false;
    int result_ = kNotBought;
    std::string orderNumber_;
    QPixmap background_;
    QTimer closeTimer_;
    QPoint dragOffset_;
    // Stacked bottom to top, as created.
    QtWebBrowser* paymentPane_;
    CHoverButton* closeButton_;
    QtWebBrowser* confirmationPane_;
};

} // namespace lodgeview
