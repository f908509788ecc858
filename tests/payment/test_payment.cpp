// The payment module: doPPV end to end with the real Qt WebEngine, against the substitute VOD
// server's purchase page and against pages of the tests' own, driven from inside the dialog's
// modal loop; the close button's strip; and the library as an outside Qt host loads it.
#include "payment/HoverButton.h"
#include "payment/MVK_PPVModule.h"
#include "player/controls/browser/WebEngineSetup.h"

#include "PageServer.h"
#include "SampleVodServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lodgeview {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

// QtTestMain creates the QApplication; Qt WebEngine's set-up has to come first.
const bool webEnginePrepared = (PrepareWebEngine(), true);

constexpr char kGuard = '\x7f';
using Buffer = std::array<char, 512>;

Buffer GuardedBuffer()
{
    Buffer buffer;
    buffer.fill(kGuard);
    return buffer;
}

bool Untouched(const Buffer& buffer)
{
    return std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == kGuard; });
}

// The dialog doPPV is running, if any.
QDialog* RunningDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && std::strcmp(widget->metaObject()->className(), "lodgeview::CMVK_PPVDlg") == 0)
            return qobject_cast<QDialog*>(widget);
    }
    return nullptr;
}

QWebEngineView* PaymentPane(QDialog& dialog)
{
    return dialog.findChild<QWebEngineView*>("paymentPane");
}

QWebEngineView* ConfirmationPane(QDialog& dialog)
{
    return dialog.findChild<QWebEngineView*>("confirmationPane");
}

bool Shown(const QWidget* widget)
{
    return widget->isVisible() && !widget->size().isEmpty();
}

// Calls doPPV; every 20 ms while its dialog runs, drive(dialog) takes the next step of the test.
// A dialog still open after 20 s fails the test and is closed.
int Buy(const std::string& url, char* buffer, const std::function<void(QDialog&)>& drive = {})
{
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QDialog* dialog = RunningDialog();
        if (!dialog)
            return;
        if (clock.elapsed() > 20000) {
            ADD_FAILURE() << "the payment dialog is still open";
            dialog->reject();
        } else if (drive) {
            drive(*dialog);
        }
    });
    poll.start(20);
    return doPPV(url.c_str(), buffer);
}

// The purchase page of the substitute VOD server, in-process.
class PurchasePageTest : public ::testing::Test {
protected:
    std::string PurchaseAddress() const
    {
        return server_.Url("/service/purchase/MVK_PURCHASE_INFO.PHP?NO_ROOM=301&CONTENT_ID=M2001&ID_MAC=52:54:00:12:34:5F");
    }

    test::SampleVodServer server_;
};

TEST_F(PurchasePageTest, PayingAndConfirmingReturnsTheOrderNumber)
{
    // An address the browser normalises (scheme case, a dot segment) still counts as the
    // requested one.
    const std::string address = "HTTP://127.0.0.1" + server_.portSuffix()
        + "/service/./purchase/MVK_PURCHASE_INFO.PHP?NO_ROOM=301&CONTENT_ID=M2001&ID_MAC=52:54:00:12:34:5F";
    struct {
        QRect window, pane, closeButton;
        QRegion paneMask;
        bool closeButtonShown = false, confirmationShown = true;
    } seen;
    bool paid = false;
    Buffer buffer = GuardedBuffer();

    const int result = Buy(address, buffer.data(), [&](QDialog& dialog) {
        QWebEngineView* pane = PaymentPane(dialog);
        if (paid || !Shown(pane))
            return;
        const auto* closeButton = dialog.findChild<QAbstractButton*>("closeButton");
        seen = {dialog.geometry(), pane->geometry(), closeButton->geometry(), pane->mask(), closeButton->isVisible(),
            ConfirmationPane(dialog)->isVisible()};
        pane->page()->runJavaScript("pay();"
                                    "(function confirmWhenShown() {"
                                    "  if (document.getElementById('confirm').hidden)"
                                    "    setTimeout(confirmWhenShown, 10);"
                                    "  else"
                                    "    document.getElementById('SUCC').click();"
                                    "})();");
        paid = true;
    });

    EXPECT_EQ(result, 0);
    EXPECT_STREQ(buffer.data(), "777001");
    EXPECT_EQ(buffer[7], kGuard);
    // The page placed the window on screen at its own size; the pane fills it below the band.
    EXPECT_EQ(seen.window.size(), QSize(360, 320));
    EXPECT_GE(seen.window.x(), 0);
    EXPECT_GE(seen.window.y(), 0);
    EXPECT_EQ(seen.pane, QRect(0, 0, 360, 320));
    EXPECT_EQ(seen.paneMask, QRegion(0, 50, 360, 270));
    EXPECT_EQ(seen.closeButton, QRect(312, 25, 23, 23));
    EXPECT_TRUE(seen.closeButtonShown);
    EXPECT_FALSE(seen.confirmationShown);
}

TEST_F(PurchasePageTest, CancellingReturnsNoPurchase)
{
    Buffer buffer = GuardedBuffer();
    bool cancelled = false;
    const int result = Buy(PurchaseAddress(), buffer.data(), [&](QDialog& dialog) {
        if (!cancelled && Shown(PaymentPane(dialog))) {
            PaymentPane(dialog)->page()->runJavaScript("cancelPurchase();");
            cancelled = true;
        }
    });
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(Untouched(buffer));
}

TEST_F(PurchasePageTest, TheWindowDragsByItsBandAndTheCloseButtonEndsWithoutPurchase)
{
    Buffer buffer = GuardedBuffer();
    QPoint before, after;
    bool dragged = false;
    const int result = Buy(PurchaseAddress(), buffer.data(), [&](QDialog& dialog) {
        if (!Shown(PaymentPane(dialog)))
            return;
        if (dragged) {
            after = dialog.pos();
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("closeButton"), Qt::LeftButton);
            return;
        }
        before = dialog.pos();
        // A free point of the title band; events are built one at a time, as the pointer
        // device's state goes with each.
        const QPoint grip(100, 10);
        const QPoint from = dialog.mapToGlobal(grip), to = from + QPoint(30, 20);
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent event(type, dialog.mapFromGlobal(at), at, button, buttons, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        dragged = true;
    });
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(Untouched(buffer));
    EXPECT_EQ(after - before, QPoint(30, 20));
}

// Pages of the tests' own on a loopback server. Every page places the window the way the
// purchase page does.
class OwnPagesTest : public ::testing::Test {
protected:
    static constexpr char kPlace[] = "window.moveTo(20, 30); window.resizeTo(360, 320);";

    OwnPagesTest()
    {
    }

    void Serve(const std::string& path, const std::string& html) { pages_.Serve(path, html); }
    void Route(const std::string& path, std::function<void(httplib::Response&)> answer)
    {
        pages_.Route(path, std::move(answer));
    }

    std::string Address(const std::string& path) const { return pages_.Address(path); }

    // A page that, once loaded, places the window and sets these status texts in order.
    static std::string ReportingPage(const std::vector<std::string>& statuses)
    {
        QJsonArray texts;
        for (const std::string& text : statuses)
            texts.append(QString::fromStdString(text));
        const std::string list = QJsonDocument(texts).toJson(QJsonDocument::Compact).toStdString();
        return std::string("<!doctype html><script>addEventListener('load', () => {") + kPlace + "for (const text of "
            + list + ") window.status = text; });</script>";
    }

    test::PageServer pages_;
};

TEST_F(OwnPagesTest, StatusTextsEndTheDialogWithTheFirstOutcome)
{
    const std::string longOrder(400, '7');
    const struct {
        const char* name;
        std::vector<std::string> statuses;
        int result;
        std::optional<std::string> written; // nothing: the buffer stays untouched
    } cases[] = {
        {"success", {"RESULT=SUCCEEDED|NO_ORDER=777"}, 0, "777"},
        {"success without order", {"RESULT=SUCCEEDED"}, 0, ""},
        {"ignored texts, then close",
            {"RESULT=succeeded", "RESULT= SUCCEEDED", "RESULT", "||", "RESULT=FAILED|NO_ORDER=1",
                "||RESULT=CLOSE||"},
            -2, std::nullopt},
        {"close ends at once", {"RESULT=CLOSE", "RESULT=SUCCEEDED|NO_ORDER=9"}, -2, std::nullopt},
        // Cut to 254 bytes and a NUL: the caller's 255 bytes and not one more.
        {"long order number", {"RESULT=SUCCEEDED|NO_ORDER=" + longOrder}, 0, longOrder.substr(0, 254)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Serve("report", ReportingPage(c.statuses));
        Buffer buffer = GuardedBuffer();
        EXPECT_EQ(Buy(Address("report"), buffer.data()), c.result);
        if (!c.written) {
            EXPECT_TRUE(Untouched(buffer));
            continue;
        }
        const std::size_t length = c.written->size();
        EXPECT_EQ(std::string(buffer.data(), length), *c.written);
        EXPECT_EQ(buffer[length], '\0');
        EXPECT_EQ(buffer[length + 1], kGuard);
    }
}

TEST_F(OwnPagesTest, NullBufferGetsNothing)
{
    Serve("report", ReportingPage({"RESULT=SUCCEEDED|NO_ORDER=777"}));
    EXPECT_EQ(Buy(Address("report"), nullptr), 0);
}

TEST_F(OwnPagesTest, ARedirectNeverShowsThePaymentPane)
{
    // The first request of "pay" redirects to a page whose inner frame then loads "pay" itself:
    // the requested address completes, but not as the top document.
    std::atomic<int> payRequests{0};
    Route("pay", [&](httplib::Response& response) {
        if (payRequests++ == 0)
            response.set_redirect("/outer");
        else
            response.set_content("<!doctype html>inner", "text/html");
    });
    Serve("outer", std::string("<!doctype html><iframe src=\"/pay\" onload=\"") + kPlace + "\"></iframe>");
    Buffer buffer = GuardedBuffer();
    QElapsedTimer placed;
    QSize paneSize(-1, -1);

    const int result = Buy(Address("pay"), buffer.data(), [&](QDialog& dialog) {
        if (dialog.size() != QSize(360, 320))
            return;
        // Placed once the frame has loaded; give the frame's completion time to arrive.
        if (!placed.isValid())
            placed.start();
        if (placed.elapsed() < 300)
            return;
        paneSize = PaymentPane(dialog)->size();
        dialog.findChild<QAbstractButton*>("closeButton")->click();
    });

    EXPECT_EQ(result, -2);
    EXPECT_TRUE(Untouched(buffer));
    EXPECT_EQ(payRequests, 2);
    EXPECT_EQ(paneSize, QSize(0, 0));
}

TEST_F(OwnPagesTest, AnAddressThatCannotBeLoadedEndsAtOnce)
{
    // Nothing could bring the window on screen: the dialog would wait unseen.
    std::string refused;
    {
        test::LoopbackHttpServer closed;
        refused = "http://127.0.0.1" + closed.portSuffix() + "/";
    }
    const std::string addresses[] = {
        refused,
        Address("missing"),
        "",
        "purchase page",
        "http://",
        "file:///etc/hostname",
        // Not a server's page, even one that reports a purchase.
        "data:text/html,<script>window.status='RESULT=SUCCEEDED|NO_ORDER=5'</script>",
    };
    for (const std::string& address : addresses) {
        SCOPED_TRACE(address);
        Buffer buffer = GuardedBuffer();
        EXPECT_EQ(Buy(address, buffer.data()), -2);
        EXPECT_TRUE(Untouched(buffer));
    }
}

TEST_F(OwnPagesTest, AConfirmationButtonClickEndsWithAPurchase100msLater)
{
    Serve("opener", std::string("<!doctype html><script>addEventListener('load', () => {") + kPlace
            + "window.open('/confirm.html'); });</script>");
    // Each button click also has the payment page report CLOSE while the dialog waits to end:
    // the click, the first outcome, stands.
    Serve("confirm.html", R"html(<!doctype html>
<script>function closeSoon() { setTimeout(() => { opener.status = 'RESULT=CLOSE'; }, 30); }</script>
<button id="SUCC" onclick="closeSoon()">first</button>
<a id="SUCC">a link</a>
<button id="SUCC" onclick="closeSoon()">second</button>)html");

    for (const int button : {0, 1}) {
        SCOPED_TRACE(button);
        Buffer buffer = GuardedBuffer();
        QRect confirmation;
        QElapsedTimer sinceLink, sinceClick;
        const int result = Buy(Address("opener"), buffer.data(), [&](QDialog& dialog) {
            QWebEnginePage* page = ConfirmationPane(dialog)->page();
            if (!sinceLink.isValid() && Shown(ConfirmationPane(dialog))) {
                confirmation = ConfirmationPane(dialog)->geometry();
                page->runJavaScript("document.querySelector('a#SUCC').click();");
                sinceLink.start();
            } else if (sinceLink.isValid() && !sinceClick.isValid() && sinceLink.elapsed() > 300) {
                // The link changed nothing: the dialog still runs.
                page->runJavaScript(
                    QString("document.querySelectorAll('button#SUCC')[%1].click();").arg(button));
                sinceClick.start();
            }
        });
        ASSERT_TRUE(sinceClick.isValid());
        EXPECT_GE(sinceClick.elapsed(), 95);
        EXPECT_EQ(result, 0);
        EXPECT_STREQ(buffer.data(), "");
        EXPECT_EQ(confirmation, QRect(3, 31, 232, 250));
    }
}

TEST_F(OwnPagesTest, EnterIsSwallowedInsideThePage)
{
    Serve("form", std::string(R"(<!doctype html>
<form onsubmit="window.status = 'RESULT=SUCCEEDED|NO_ORDER=enter'; return false">
<input id="field"><button>buy</button></form>
<script>addEventListener('load', () => {)") + kPlace + "document.getElementById('field').focus(); });</script>");
    Buffer buffer = GuardedBuffer();
    // Input reaches the page in order. "a" is typed until the page takes it, then Enter goes
    // between it and "b": once "b" is in the field, the page has had its chance at Enter.
    std::string value;
    bool reading = false, entered = false, closing = false;
    QElapsedTimer sinceTyping;

    const int result = Buy(Address("form"), buffer.data(), [&](QDialog& dialog) {
        QWebEngineView* pane = PaymentPane(dialog);
        if (!Shown(pane) || reading || closing)
            return;
        QWidget* input = pane->focusProxy();
        if (!sinceTyping.isValid() || (value.empty() && sinceTyping.elapsed() > 300)) {
            dialog.activateWindow();
            pane->setFocus();
            QTest::keyClick(input, Qt::Key_A);
            sinceTyping.start();
        } else if (!value.empty() && !entered) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_B})
                QTest::keyClick(input, key);
            entered = true;
        } else if (entered && value.back() == 'b') {
            pane->page()->runJavaScript("window.status = 'RESULT=CLOSE';");
            closing = true;
            return;
        }
        reading = true;
        pane->page()->runJavaScript("document.getElementById('field').value", [&](const QVariant& field) {
            value = field.toString().toStdString();
            reading = false;
        });
    });

    EXPECT_THAT(value, MatchesRegex("a+b"));
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(Untouched(buffer));
}

TEST_F(OwnPagesTest, AnOutsideHostCallsDoPPVByName)
{
    Serve("report", ReportingPage({"RESULT=SUCCEEDED|NO_ORDER=42"}));
    const auto host = [](const QStringList& arguments) {
        QProcess process;
        process.start(LODGEVIEW_PPVHOST, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return std::make_pair(
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString());
    };
    const QString module = LODGEVIEW_PPVMODULE, address = QString::fromStdString(Address("report"));

    const auto [bought, boughtTrace] = host({module, address});
    EXPECT_EQ(bought, "0 42\n");
    EXPECT_THAT(boughtTrace, HasSubstr("ppvhost: Status[RESULT=SUCCEEDED|NO_ORDER=42]::[PPVDialog.cpp]["));

    // A host that breaks its duties gets -2 and a trace instead of a crash.
    const struct {
        const char* option;
        const char* reason;
    } broken[] = {
        {"--no-application", "QApplication::[MVK_PPVModule.cpp]["},
        {"--no-shared-contexts", "AA_ShareOpenGLContexts set before the QApplication is created::[MVK_PPVModule.cpp]["},
    };
    for (const auto& b : broken) {
        const auto [refused, refusedTrace] = host({b.option, module, address});
        EXPECT_EQ(refused, "-2 untouched\n") << b.option;
        EXPECT_THAT(refusedTrace, HasSubstr(b.reason)) << b.option;
    }
}

TEST(HoverButton, DrawsTheFrameOfItsStateAndLetsMagentaThrough)
{
    // Frames of three colours, each with a magenta corner.
    QImage strip(69, 23, QImage::Format_RGB32);
    QPainter painter(&strip);
    const QColor frames[3] = {Qt::red, Qt::green, Qt::blue};
    for (int f = 0; f < 3; ++f) {
        painter.fillRect(f * 23, 0, 23, 23, frames[f]);
        painter.fillRect(f * 23, 0, 4, 4, QColor(255, 0, 255));
    }
    painter.end();
    QWidget window;
    window.resize(100, 60);
    CHoverButton button(&window);
    button.move(10, 10);
    button.SetStrip(strip);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(button.geometry(), QRect(10, 10, 23, 23));
    EXPECT_FALSE(button.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(button.mask().contains(QPoint(12, 12)));
    const auto colourNow = [&] { return QColor(button.grab().toImage().pixel(12, 12)); };
    EXPECT_EQ(colourNow(), QColor(Qt::red));
    QTest::mouseMove(&button, QPoint(12, 12));
    EXPECT_EQ(colourNow(), QColor(Qt::green));
    button.setDown(true);
    EXPECT_EQ(colourNow(), QColor(Qt::blue));
}

TEST(HoverButton, WithoutAStripStillClicksOverItsWholeRectangle)
{
    CHoverButton button;
    button.resize(23, 23);
    button.SetStrip(QImage());
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button.mask().isEmpty());
}

} // namespace
} // namespace lodgeview
