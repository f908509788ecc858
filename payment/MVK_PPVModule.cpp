#include "payment/MVK_PPVModule.h"

#include "payment/PPVDialog.h"
#include "payment/SiteTrace.h"
#include "platform/AppPaths.h"

#include <QApplication>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

namespace lodgeview {
namespace {

// The only caller passes 255 bytes: room for 254 and the NUL.
constexpr std::size_t kOrderNumberBytes = 254;

// The purchase page is a page of the VOD server. Nothing else can be let in: a page that never
// loads could never place the window, and the dialog would wait unseen for ever; a local page
// could report a purchase that no server made.
bool IsWebAddress(const char* url)
{
    const QUrl address(QString::fromUtf8(url));
    return address.isValid() && (address.scheme() == "http" || address.scheme() == "https")
        && !address.host().isEmpty();
}

int BuyViewing(const char* url, char* buffer)
{
    if (!url || !IsWebAddress(url)) {
        TraceWithSite(std::string("doPPV needs the address of the purchase page [") + (url ? url : "") + "]");
        return CMVK_PPVDlg::kNotBought;
    }
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        TraceWithSite("doPPV needs the calling program's QApplication");
        return CMVK_PPVDlg::kNotBought;
    }
    if (QThread::currentThread() != app->thread()) {
        TraceWithSite("doPPV called outside the QApplication's thread");
        return CMVK_PPVDlg::kNotBought;
    }
    // Without shared OpenGL contexts Qt WebEngine crashes when started from a library.
    if (!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts)) {
        TraceWithSite("doPPV needs Qt::AA_ShareOpenGLContexts set before the QApplication is created");
        return CMVK_PPVDlg::kNotBought;
    }
    CMVK_PPVDlg dialog(url, ExecutableFolder() + "Image_data/ppv/");
    dialog.exec();
    if (dialog.Result() == CMVK_PPVDlg::kBought && buffer) {
        const std::string& order = dialog.OrderNumber();
        const std::size_t length = std::min(order.size(), kOrderNumberBytes);
        std::memcpy(buffer, order.data(), length);
        buffer[length] = '\0';
    }
    return dialog.Result();
}

} // namespace
} // namespace lodgeview

extern "C" __attribute__((visibility("default"))) int doPPV(const char* url, char* buffer)
{
    // Nothing may cross the C boundary but the result.
    try {
        return lodgeview::BuyViewing(url, buffer);
    } catch (const std::exception& e) {
        lodgeview::TraceWithSite(std::string("payment dialog failed: ") + e.what());
    } catch (...) {
        lodgeview::TraceWithSite("payment dialog failed");
    }
    return lodgeview::CMVK_PPVDlg::kNotBought;
}
