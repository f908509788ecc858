#include "player/miniwin/MiniWindow.h"

#include "player/startup/StartupCheck.h"
#include "player/widgets/ImageButton.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>

namespace lodgeview {
namespace {

QWidget* Panel(QWidget* parent, const char* name, int height, int border)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setFixedSize(TfrmMiniWin::kWidth, height);
    panel->setStyleSheet(QString("#%1 { background: rgb(55, 54, 58); }").arg(name));
    panel->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(border, border, border, border);
    layout->setSpacing(0);
    return panel;
}

} // namespace

TfrmMiniWin::TfrmMiniWin(const TDM& dm, BrowserPane webScrPos, BrowserPane wbNotifyBody, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , dm_(dm)
    , webScrPos_(webScrPos)
    , wbNotifyBody_(wbNotifyBody)
{
    setObjectName("TfrmMiniWin");
    setWindowTitle("Lodgeview TV");
    setFixedSize(kWidth, kHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    if (webScrPos_.widget) {
        webScrPos_.widget->setParent(this);
        webScrPos_.widget->setFixedSize(kWidth, 59);
        column->addWidget(webScrPos_.widget);
    }
    QWidget* buttons = Panel(this, "dxContainer1", 53, 0);
    btnMovie_ = new TImageButton(buttons);
    btnCari_ = new TImageButton(buttons);
    btnLuck_ = new TImageButton(buttons);
    const struct {
        TImageButton* button;
        const char* name;
        int width;
    } specs[] = {{btnMovie_, "btnMovie", 115}, {btnCari_, "btnCari", 115}, {btnLuck_, "btnLuck", 77}};
    for (int tag = 0; tag < 3; ++tag) {
        TImageButton* button = specs[tag].button;
        button->setObjectName(specs[tag].name);
        button->SetTag(tag);
        button->setFixedSize(specs[tag].width, 53);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &TImageButton::clicked, this, [this, tag] {
            if (OnControlClick)
                OnControlClick(tag);
        });
        buttons->layout()->addWidget(button);
    }
    static_cast<QHBoxLayout*>(buttons->layout())->addStretch();
    btnLuck_->hide();
    if (dm_.CartoonEnabled) {
        LoadButton(*btnMovie_, "mini_01_%1.bmp");
        LoadButton(*btnCari_, "mini_02_%1.bmp");
        LoadButton(*btnLuck_, "mini_03_%1.bmp");
    } else {
        btnMovie_->setFixedWidth(230);
        LoadButton(*btnMovie_, "mini_01_only_%1.bmp");
        btnCari_->hide();
    }
    column->addWidget(buttons);

    QWidget* poster = Panel(this, "contPoster", 146, 4);
    if (wbNotifyBody_.widget)
        poster->layout()->addWidget(wbNotifyBody_.widget);
    column->addWidget(poster);

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen)
        corner_ = Placement(screen->geometry().width(), screen->availableGeometry().bottom() + 1);
    move(corner_);
}

void TfrmMiniWin::LoadButton(TImageButton& button, const QString& pattern)
{
    // A missing file leaves that picture as it was.
    const QString folder = QString::fromStdString(dm_.AppPath) + "Images/";
    const QString active = folder + pattern.arg(2), normal = folder + pattern.arg(1);
    if (QFileInfo::exists(active)) {
        button.SetPictureDown(QPixmap(active));
        button.SetPictureOver(QPixmap(active));
    }
    if (QFileInfo::exists(normal))
        button.SetPictureUp(QPixmap(normal));
}

void TfrmMiniWin::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const std::string base = "http://" + dm_.ServerHost + dm_.PortSuffix + "/ZUVU_MS/";
    if (webScrPos_.browser)
        webScrPos_.browser->Navigate(base + "redirect.do?id_ban=21");
    if (wbNotifyBody_.browser)
        wbNotifyBody_.browser->Navigate(base + "redirect.do?id_ban=22");
    setWindowTitle(QString::fromStdString(MainCaption(dm_.SiteName)));

    // Slides up into its corner in 100 ms.
    auto* slide = new QPropertyAnimation(this, "pos", this);
    slide->setDuration(100);
    slide->setStartValue(corner_ + QPoint(0, height()));
    slide->setEndValue(corner_);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void TfrmMiniWin::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

} // namespace lodgeview
