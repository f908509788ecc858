#include "player/verify/VerifyDialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lodgeview {
namespace {

QLineEdit* JuminEdit(QWidget* parent, const char* name, int x, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, 40, 57, 17);
    edit->setFrame(false);
    edit->setMaxLength(maxLength);
    edit->setStyleSheet("background: rgb(135, 206, 235); color: black;");
    return edit;
}

QLabel* WhiteLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->setStyleSheet("color: white;");
    return label;
}

} // namespace

TfrmVerify::TfrmVerify(QWidget* parent) : QDialog(parent)
{
    setObjectName("TfrmVerify");
    setWindowTitle(QString::fromUtf8("인증 창"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(206, 133);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(5, 8, 193, 73);
    panel->setStyleSheet("#Panel1 { background: rgb(33, 31, 22); }");
    QLabel* caption = WhiteLabel(panel, "Label1", QString::fromUtf8("주민등록번호"), 64, 16);
    QFont font = caption->font();
    font.setPixelSize(11);
    caption->setFont(font);
    editJumin01_ = JuminEdit(panel, "Edit_Jumin_01", 24, 6);
    WhiteLabel(panel, "Label2", " ~ ", 88, 45);
    editJumin02_ = JuminEdit(panel, "Edit_Jumin_02", 110, 7);
    for (QLineEdit* edit : {editJumin01_, editJumin02_})
        edit->installEventFilter(this);

    auto* ok = new QPushButton(QString::fromUtf8("확인"), this);
    ok->setObjectName("bsSkinButton1");
    ok->setGeometry(32, 96, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QString::fromUtf8("취소"), this);
    cancel->setObjectName("bsSkinButton2");
    cancel->setGeometry(112, 96, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(editJumin01_, editJumin02_);
    editJumin01_->setFocus();
}

QString TfrmVerify::Number() const { return editJumin01_->text() + editJumin02_->text(); }

bool TfrmVerify::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Typed characters other than digits and Backspace are discarded; keys without text
        // (arrows, Delete) keep their use.
        if (!text.isEmpty() && text != "\b" && !(text.size() == 1 && text[0] >= '0' && text[0] <= '9'))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lodgeview
