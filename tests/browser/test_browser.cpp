// QtWebBrowser loading real pages from a loopback HTTP server.
#include "player/controls/browser/QtWebBrowser.h"
#include "player/controls/browser/WebEngineSetup.h"

#include "PageServer.h"
#include "SampleVodServer.h"
#include "SpinEventLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lodgeview {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

// QtTestMain creates the QApplication; Qt WebEngine's set-up has to come first.
const bool webEnginePrepared = (PrepareWebEngine(), true);

using test::SpinUntil;

class BrowserTest : public ::testing::Test {
protected:
    BrowserTest()
    {
        browser_.onStatusTextChange = [this](const std::string& text) { status_.push_back(text); };
        browser_.onDocumentComplete = [this](bool topFrame, const std::string& url) {
            completes_.emplace_back(topFrame, url);
        };
        browser_.onButtonHooked = [this](const std::string& id) { hooked_.push_back(id); };
        browser_.onButtonClick = [this](const std::string& id) { clicks_.push_back(id); };
        browser_.onWindowMoveRequest = [this](int x, int y) { moves_.emplace_back(x, y); };
        browser_.onWindowResizeRequest = [this](int width, int height) { resizes_.emplace_back(width, height); };
        browser_.resize(800, 600);
        browser_.show();
    }

    void Serve(const std::string& path, const std::string& html) { pages_.Serve(path, html); }
    void Redirect(const std::string& path, const std::string& target) { pages_.Redirect(path, target); }
    void Route(const std::string& path, std::function<void(httplib::Response&)> answer)
    {
        pages_.Route(path, std::move(answer));
    }

    std::string Address(const std::string& path, const std::string& host = "127.0.0.1") const
    {
        return pages_.Address(path, host);
    }

    bool Completed(const std::string& url, bool topFrame = true) const
    {
        return std::find(completes_.begin(), completes_.end(), std::make_pair(topFrame, url)) != completes_.end();
    }

    // Navigates and waits for the top frame's completion at the address.
    [[nodiscard]] bool Open(const std::string& path)
    {
        browser_.Navigate(Address(path));
        return SpinUntil([&] { return Completed(Address(path)); });
    }

    bool StatusSeen(const std::string& text) const
    {
        return std::find(status_.begin(), status_.end(), text) != status_.end();
    }

    // Reports from one frame arrive in order: once this marker is back, everything the page did
    // before it has been reported.
    [[nodiscard]] bool Settle()
    {
        browser_.RunScript("window.status = 'settled';");
        return SpinUntil([&] { return StatusSeen("settled"); });
    }

    QVariant Evaluate(const std::string& script)
    {
        auto result = std::make_shared<std::optional<QVariant>>();
        browser_.page()->runJavaScript(QString::fromStdString(script), [result](const QVariant& value) { *result = value; });
        EXPECT_TRUE(SpinUntil([&] { return result->has_value(); })) << script;
        return result->value_or(QVariant());
    }

    test::PageServer pages_;
    QtWebBrowser browser_;
    std::vector<std::string> status_;
    std::vector<std::pair<bool, std::string>> completes_;
    std::vector<std::string> hooked_;
    std::vector<std::string> clicks_;
    std::vector<std::pair<int, int>> moves_;
    std::vector<std::pair<int, int>> resizes_;
};

TEST_F(BrowserTest, EveryStatusAssignmentArrivesWithItsExactText)
{
    const std::string play = "TAVIRA_VIDEO=CONTENT_ID:M0001|CLASS:X|PREVIEW:N|PREVIEW_LENGTH:60000";
    const std::string korean = "결제 완료|RESULT=SUCCEEDED|NO_ORDER=A=B";
    Serve("menu.html", R"(<!doctype html><meta charset="utf-8">
<script>
window.status = ')" + play + R"(';
window.status = ')" + korean + R"(';
window.status = ')" + korean + R"(';
status = '';
</script>
<button id="play" onclick="window.status = 'TAVIRA_VIDEO=CONTENT_ID:M0002|CLASS:Y'">play</button>)");
    ASSERT_TRUE(Open("menu.html"));
    ASSERT_TRUE(SpinUntil([&] { return status_.size() >= 4; }));

    browser_.RunScript("document.getElementById('play').click();");
    ASSERT_TRUE(SpinUntil([&] { return status_.size() >= 5; }));
    EXPECT_THAT(status_, ElementsAre(play, korean, korean, "", "TAVIRA_VIDEO=CONTENT_ID:M0002|CLASS:Y"));
    // Page scripts read back what they assigned.
    EXPECT_EQ(Evaluate("window.status").toString().toStdString(), "TAVIRA_VIDEO=CONTENT_ID:M0002|CLASS:Y");
}

TEST_F(BrowserTest, LinksUnderThePointerAreReported)
{
    Serve("links.html", R"(<!doctype html>
<a href="target.html" style="display: block; height: 100px">target</a><p style="height: 300px">)");
    ASSERT_TRUE(Open("links.html"));
    QWidget* surface = browser_.focusProxy();
    ASSERT_NE(surface, nullptr);
    const auto pointAt = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &move);
    };

    pointAt({20, 50});
    ASSERT_TRUE(SpinUntil([&] { return StatusSeen(Address("target.html")); }));
    pointAt({20, 250});
    ASSERT_TRUE(SpinUntil([&] { return status_.size() == 2; }));
    EXPECT_THAT(status_, ElementsAre(Address("target.html"), ""));
}

TEST_F(BrowserTest, InnerFramesReportStatusAndCompletionButDoNotPlaceTheWindow)
{
    // The second frame comes from another origin, which Chromium may put in another process.
    Serve("outer.html", R"(<!doctype html>
<script>window.moveTo(10, 20); window.resizeTo(640.9, 480);</script>
<iframe src="inner.html?same"></iframe>
<iframe src=")" + Address("inner.html?other", "localhost") + R"("></iframe>)");
    Serve("inner.html", R"(<!doctype html>
<script>
window.moveTo(1, 2);
window.resizeTo(3, 4);
window.status = 'from ' + location.search;
</script>)");
    ASSERT_TRUE(Open("outer.html"));
    ASSERT_TRUE(SpinUntil([&] {
        return StatusSeen("from ?same") && StatusSeen("from ?other") && Completed(Address("inner.html?same"), false)
            && Completed(Address("inner.html?other", "localhost"), false);
    }));
    ASSERT_TRUE(Settle());

    EXPECT_EQ(completes_.size(), 3u);
    EXPECT_THAT(moves_, ElementsAre(Pair(10, 20)));
    EXPECT_THAT(resizes_, ElementsAre(Pair(640, 480)));
}

TEST_F(BrowserTest, RunScriptCallsAPageFunction)
{
    Serve("loading.html", R"(<!doctype html>
<div id="loading1">1</div><div id="loading2" style="display: none">2</div>
<script>
function showHide(name) {
    for (const id of ['loading1', 'loading2'])
        document.getElementById(id).style.display = id === name ? 'block' : 'none';
}
</script>)");
    const std::string shown = "['loading1', 'loading2'].map(id => getComputedStyle(document.getElementById(id)).display).join()";
    ASSERT_TRUE(Open("loading.html"));
    ASSERT_EQ(Evaluate(shown).toString(), "block,none");

    browser_.RunScript("showHide('loading2')");
    EXPECT_EQ(Evaluate(shown).toString(), "none,block");
}

TEST_F(BrowserTest, HookButtonsHearsOnlyButtonsWithTheIds)
{
    Serve("confirm.html", R"(<!doctype html>
<button id="SUCC">first</button>
<a id="SUCC">a link</a>
<div id="SUCC2">a division</div>
<button id="SUCC">second</button>
<button id="OTHER">other</button>)");
    ASSERT_TRUE(Open("confirm.html"));
    browser_.HookButtons({"SUCC", "SUCC2"});
    browser_.HookButtons({"SUCC"});
    ASSERT_TRUE(Settle());
    EXPECT_THAT(hooked_, ElementsAre("SUCC", "SUCC"));

    browser_.RunScript("for (const element of document.querySelectorAll('#SUCC, #SUCC2, #OTHER')) element.click();"
                       "window.status = 'clicked';");
    ASSERT_TRUE(SpinUntil([&] { return StatusSeen("clicked"); }));
    EXPECT_THAT(clicks_, ElementsAre("SUCC", "SUCC"));
}

TEST_F(BrowserTest, PagesCannotReachTheToken)
{
    // A page that wraps the console and reads the source of everything the injected script
    // gave it; what it gathers comes back through the status channel.
    Serve("snoop.html", R"(<!doctype html>
<script>
const seen = [];
console.debug = console.log = console.info = (...parts) => seen.push(parts.join(' '));
window.status = 'probe';
const descriptor = Object.getOwnPropertyDescriptor(window, 'status');
const sources = [descriptor.get, descriptor.set, window.moveTo, window.resizeTo].map(String).join('\n');
window.status = 'seen:' + seen.join('|') + '\n' + sources;
</script>)");
    ASSERT_TRUE(Open("snoop.html"));
    ASSERT_TRUE(SpinUntil([&] { return status_.size() >= 2; }));
    EXPECT_EQ(status_[0], "probe");
    EXPECT_THAT(status_[1], ::testing::StartsWith("seen:\n"));
    EXPECT_THAT(status_[1], ::testing::HasSubstr("resizeTo"));
    EXPECT_THAT(status_[1], ::testing::Not(::testing::ContainsRegex("[0-9a-f]{32}")));
}

TEST_F(BrowserTest, HistoryMovesBetweenPages)
{
    Serve("a.html", "<!doctype html>a");
    Serve("b.html", "<!doctype html>b");
    EXPECT_EQ(browser_.Url(), "");
    browser_.GoBack();
    browser_.GoForward();

    ASSERT_TRUE(Open("a.html"));
    ASSERT_TRUE(Open("b.html"));
    completes_.clear();
    browser_.GoBack();
    ASSERT_TRUE(SpinUntil([&] { return Completed(Address("a.html")); }));
    EXPECT_EQ(browser_.Url(), Address("a.html"));
    browser_.GoForward();
    ASSERT_TRUE(SpinUntil([&] { return Completed(Address("b.html")); }));
    EXPECT_EQ(browser_.Url(), Address("b.html"));

    browser_.GoForward();
    ASSERT_TRUE(Settle());
    EXPECT_THAT(completes_, ElementsAre(Pair(true, Address("a.html")), Pair(true, Address("b.html"))));
    EXPECT_EQ(browser_.Url(), Address("b.html"));
}

TEST_F(BrowserTest, CompletionReportsTheAddressReachedAndNotFailures)
{
    Redirect("moved", "/landing.html");
    Serve("landing.html", "<!doctype html>landing");
    std::string refused;
    {
        test::LoopbackHttpServer closed;
        refused = "http://127.0.0.1" + closed.portSuffix() + "/";
    }
    QObject scope;
    std::vector<bool> loads;
    QObject::connect(&browser_, &QWebEngineView::loadFinished, &scope, [&](bool ok) { loads.push_back(ok); });

    browser_.Navigate(refused);
    ASSERT_TRUE(SpinUntil([&] { return loads.size() == 1; }));
    ASSERT_FALSE(loads[0]);
    browser_.Navigate(Address("moved"));
    ASSERT_TRUE(SpinUntil([&] { return loads.size() == 2; }));
    EXPECT_THAT(completes_, ElementsAre(Pair(true, Address("landing.html"))));
    EXPECT_EQ(browser_.Url(), Address("landing.html"));
}

// The substitute server's menu page: a click on a title sets the status text to its play command.
TEST_F(BrowserTest, MenuPageOfTheServerSendsThePlayCommandOfAClickedTitle)
{
    test::SampleVodServer server;
    const std::string menu = server.Url("/ZUVU_MS/pc/new_movie.do");
    browser_.Navigate(menu);
    ASSERT_TRUE(SpinUntil([&] { return !completes_.empty(); }));
    status_.clear();
    browser_.RunScript("document.getElementById('Y3002').click();");
    ASSERT_TRUE(SpinUntil([&] { return !status_.empty() && status_.back().rfind("TAVIRA_VIDEO=", 0) == 0; }));
    const devserver::Catalogue catalogue = devserver::Catalogue::Default();
    EXPECT_EQ(status_.back(), devserver::PlayCommand(*catalogue.Find("Y3002")));
}

} // namespace
} // namespace lodgeview
