#include "payment/PPVDialog.h"

#include "payment/HoverButton.h"
#include "payment/SiteTrace.h"
#include "payment/StatusRecord.h"
#include "player/controls/browser/QtWebBrowser.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QVariant>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>

namespace lodgeview {

namespace {

constexpr QPoint kOffScreen(-10000, -10000);
constexpr int kBandHeight = 50;
constexpr QRect kCloseButton(312, 25, 23, 23);
constexpr QRect kConfirmationPane(3, 31, 232, 250);
constexpr int kCloseDelayMs = 100;
constexpr char kConfirmButtonId[] = "SUCC";

} // namespace

CMVK_PPVDlg::CMVK_PPVDlg(const std::string& requestedUrl, const std::string& imageFolder)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , background_(QString::fromStdString(imageFolder + "popup_ppv_bg.bmp"))
    , paymentPane_(new QtWebBrowser(this))
    , closeButton_(new CHoverButton(this))
    , confirmationPane_(new QtWebBrowser(this))
{
    paymentPane_->setObjectName(QStringLiteral("paymentPane"));
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    confirmationPane_->setObjectName(QStringLiteral("confirmationPane"));

    confirmationPane_->setGeometry(0, 0, 0, 0);
    confirmationPane_->hide();
    closeButton_->SetStrip(QImage(QString::fromStdString(imageFolder + "pop_close.jpg")));
    closeButton_->setGeometry(kCloseButton);
    setGeometry(QRect(kOffScreen, QSize(0, 0)));
    paymentPane_->setGeometry(0, 0, 0, 0);

    connect(closeButton_, &QAbstractButton::clicked, this, &QDialog::reject);
    closeTimer_.setSingleShot(true);
    closeTimer_.setInterval(kCloseDelayMs);
    connect(&closeTimer_, &QTimer::timeout, this, &QDialog::accept);

    paymentPane_->onStatusTextChange = [this](const std::string& text) { OnStatusText(text); };
    paymentPane_->onDocumentComplete = [this](bool topFrame, const std::string& url) {
        OnPaymentComplete(topFrame, url);
    };
    paymentPane_->onWindowMoveRequest = [this](int x, int y) { move(x, y); };
    paymentPane_->onWindowResizeRequest = [this](int width, int height) { resize(width, height); };
    QWebEnginePage* paymentPage = paymentPane_->page();
    connect(paymentPage, &QWebEnginePage::loadingChanged, this, &CMVK_PPVDlg::OnPaymentLoading);
    connect(paymentPage, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest& request) { request.openIn(confirmationPane_->page()); });

    confirmationPane_->onDocumentComplete = [this](bool topFrame, const std::string&) {
        if (topFrame)
            confirmationPane_->HookButtons({kConfirmButtonId});
    };
    confirmationPane_->onButtonHooked = [this](const std::string&) {
        confirmationPane_->setGeometry(kConfirmationPane);
        confirmationPane_->show();
    };
    confirmationPane_->onButtonClick = [this](const std::string&) { OnConfirmationClick(); };

    qApp->installEventFilter(this);
    paymentPane_->Navigate(requestedUrl);
}

CMVK_PPVDlg::~CMVK_PPVDlg()
{
    qApp->removeEventFilter(this);
}

bool CMVK_PPVDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto* widget = qobject_cast<QWidget*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && widget && widget->window() == this)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMVK_PPVDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(0, 0, background_);
}

void CMVK_PPVDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragOffset_ = event->globalPosition().toPoint() - pos();
    QDialog::mousePressEvent(event);
}

void CMVK_PPVDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - dragOffset_);
    QDialog::mouseMoveEvent(event);
}

void CMVK_PPVDlg::OnPaymentLoading(const QWebEngineLoadingInfo& loading)
{
    const std::string url = loading.url().toString(QUrl::FullyEncoded).toStdString();
    if (loading.status() == QWebEngineLoadingInfo::LoadStartedStatus && startedUrl_.empty())
        startedUrl_ = url;
    if (loading.status() == QWebEngineLoadingInfo::LoadFailedStatus && !paymentShown_) {
        const QString domain = QVariant::fromValue(loading.errorDomain()).toString();
        TraceWithSite("purchase page not loaded [" + url + "] " + domain.toStdString() + " "
            + std::to_string(loading.errorCode()));
        reject();
    }
}

void CMVK_PPVDlg::OnPaymentComplete(bool topFrame, const std::string& url)
{
    if (!topFrame || url != startedUrl_)
        return;
    const QSize size = background_.size();
    paymentPane_->setMask(QRegion(0, kBandHeight, size.width(), size.height() - kBandHeight));
    paymentPane_->setGeometry(QRect(QPoint(0, 0), size));
    paymentPane_->show();
    paymentShown_ = true;
}

void CMVK_PPVDlg::OnStatusText(const std::string& text)
{
    if (ParseStatusRecord(text).empty())
        return;
    TraceWithSite("Status[" + text + "]");
    const auto outcome = OutcomeOfStatus(text);
    if (!outcome || finished_)
        return;
    finished_ = true;
    result_ = outcome->resultCode;
    orderNumber_ = outcome->orderNumber;
    accept();
}

void CMVK_PPVDlg::OnConfirmationClick()
{
    if (finished_)
        return;
    finished_ = true;
    result_ = kBought;
    closeTimer_.start();
}

} // namespace lodgeview
