// Draws the installation's pictures into <folder>/Images: menu strips, media and mini-window
// buttons, the cartoon button, the title pictures and the search buttons; and the payment
// dialog's pictures into <folder>/Image_data/ppv. The project draws them itself so that no
// outside artwork is needed; run at build time into build/bin.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor kPanel(55, 54, 58);
const QColor kMenuKey(70, 70, 70);  // transparent colour of the menu strips
const QColor kAccent(243, 156, 18);
const QColor kLight(230, 230, 230);

QString g_folder;

void Save(const QImage& image, const QString& name, const QString& folder = g_folder, int quality = -1)
{
    const QString path = folder + "/" + name;
    if (!image.save(path, nullptr, quality)) {
        std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QImage Canvas(int w, int h, const QColor& fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QFont Font(int pixels, bool bold = true)
{
    QFont font("NanumGothic");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void Text(QPainter& p, const QRect& r, const QString& text, const QColor& color, int pixels)
{
    p.setFont(Font(pixels));
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// Menu strip: three 43 x 47 frames (normal, pointer over / pressed, selected) on the key colour.
void MenuStrip(int n, const QString& label)
{
    QImage image = Canvas(129, 47, kMenuKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor faces[3] = {QColor(80, 79, 84), QColor(110, 108, 116), kAccent};
    const QColor inks[3] = {kLight, Qt::white, Qt::black};
    for (int f = 0; f < 3; ++f) {
        const QRect cell(f * 43 + 2, 2, 39, 43);
        p.fillRect(cell, faces[f]);
        Text(p, cell, label, inks[f], 11);
    }
    p.end();
    Save(image, QString("menu_%1.bmp").arg(n + 1, 2, 10, QChar('0')));
}

using Glyph = std::function<void(QPainter&, const QRectF&)>;

// A round media button in two looks: 1 normal, 2 pointer over / pressed.
void MediaButton(const QString& pattern, int size, const Glyph& glyph)
{
    for (int look = 1; look <= 2; ++look) {
        QImage image = Canvas(size, size, kPanel);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(look == 1 ? QColor(85, 84, 90) : kAccent);
        p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
        p.setBrush(look == 1 ? kLight : Qt::black);
        p.setPen(QPen(look == 1 ? kLight : Qt::black, size / 12.0));
        glyph(p, QRectF(size * 0.3, size * 0.3, size * 0.4, size * 0.4));
        p.end();
        Save(image, QString(pattern).arg(look));
    }
}

void Triangle(QPainter& p, const QRectF& r, bool right)
{
    QPainterPath path;
    if (right) {
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right(), r.center().y());
        path.lineTo(r.left(), r.bottom());
    } else {
        path.moveTo(r.right(), r.top());
        path.lineTo(r.left(), r.center().y());
        path.lineTo(r.right(), r.bottom());
    }
    path.closeSubpath();
    p.drawPath(path);
}

void MediaButtons()
{
    MediaButton("media_01_%1.bmp", 48, [](QPainter& p, const QRectF& r) { Triangle(p, r.adjusted(3, 0, 3, 0), true); });
    MediaButton("media_02_%1.bmp", 48, [](QPainter& p, const QRectF& r) {
        p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.35, r.height()));
        p.drawRect(QRectF(r.right() - r.width() * 0.35, r.top(), r.width() * 0.35, r.height()));
    });
    MediaButton("media_03_%1.bmp", 30, [](QPainter& p, const QRectF& r) { p.drawRect(r); });
    MediaButton("media_04_%1.bmp", 30, [](QPainter& p, const QRectF& r) {
        Triangle(p, QRectF(r.left(), r.top(), r.width() / 2, r.height()), false);
        Triangle(p, QRectF(r.center().x(), r.top(), r.width() / 2, r.height()), false);
    });
    MediaButton("media_05_%1.bmp", 30, [](QPainter& p, const QRectF& r) {
        Triangle(p, QRectF(r.left(), r.top(), r.width() / 2, r.height()), true);
        Triangle(p, QRectF(r.center().x(), r.top(), r.width() / 2, r.height()), true);
    });
    MediaButton("media_06_%1.bmp", 29, [](QPainter& p, const QRectF& r) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-2, 1, 2, -1));
    });
    const auto speaker = [](QPainter& p, const QRectF& r) {
        QPainterPath path;
        path.moveTo(r.left(), r.top() + r.height() * 0.3);
        path.lineTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.3);
        path.lineTo(r.left() + r.width() * 0.6, r.top());
        path.lineTo(r.left() + r.width() * 0.6, r.bottom());
        path.lineTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.7);
        path.lineTo(r.left(), r.top() + r.height() * 0.7);
        path.closeSubpath();
        p.drawPath(path);
    };
    MediaButton("media_08_%1.bmp", 29, [speaker](QPainter& p, const QRectF& r) {
        speaker(p, r);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(r.left() + r.width() * 0.45, r.top() + 2, r.width() * 0.5, r.height() - 4), -60 * 16, 120 * 16);
    });
    MediaButton("media_09_%1.bmp", 29, [speaker](QPainter& p, const QRectF& r) {
        speaker(p, r);
        p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right() + 2, r.bottom() - 3));
        p.drawLine(QPointF(r.right() + 2, r.top() + 3), QPointF(r.right() - 3, r.bottom() - 3));
    });
    MediaButton("media_10_%1.bmp", 30, [](QPainter& p, const QRectF& r) {
        p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.15, r.height()));
        Triangle(p, QRectF(r.left() + r.width() * 0.2, r.top(), r.width() * 0.8, r.height()), false);
    });
    MediaButton("media_11_%1.bmp", 30, [](QPainter& p, const QRectF& r) {
        Triangle(p, QRectF(r.left(), r.top(), r.width() * 0.8, r.height()), true);
        p.drawRect(QRectF(r.right() - r.width() * 0.15, r.top(), r.width() * 0.15, r.height()));
    });
}

// A flat labelled button in two or three looks (normal, pointer over, pressed).
void LabelButton(const QString& name, int w, int h, const QString& label, const QColor& face, const QColor& ink)
{
    QImage image = Canvas(w, h, kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 6, 6);
    Text(p, QRect(0, 0, w, h), label, ink, h > 40 ? 16 : 12);
    p.end();
    Save(image, name);
}

void Buttons()
{
    const QColor normal(85, 84, 90), over(120, 118, 126);
    LabelButton("btn_c01.bmp", 185, 42, "만화 보러 가기", normal, kLight);
    LabelButton("btn_c02.bmp", 185, 42, "만화 보러 가기", over, Qt::white);
    LabelButton("btn_c03.bmp", 185, 42, "만화 보러 가기", kAccent, Qt::black);
    LabelButton("search_play_def.jpg", 80, 30, "재생", normal, kLight);
    LabelButton("search_play_on.jpg", 80, 30, "재생", kAccent, Qt::black);
    LabelButton("search_refresh_def.jpg", 80, 30, "검색", normal, kLight);
    LabelButton("search_refresh_on.jpg", 80, 30, "검색", kAccent, Qt::black);
    for (int look = 1; look <= 2; ++look) {
        const QColor face = look == 1 ? normal : kAccent, ink = look == 1 ? kLight : QColor(Qt::black);
        LabelButton(QString("mini_01_%1.bmp").arg(look), 115, 53, "영화", face, ink);
        LabelButton(QString("mini_01_only_%1.bmp").arg(look), 230, 53, "영화 보기", face, ink);
        LabelButton(QString("mini_02_%1.bmp").arg(look), 115, 53, "만화", face, ink);
        LabelButton(QString("mini_03_%1.bmp").arg(look), 77, 53, "운세", face, ink);
    }
}

// Title picture: the name of the service on a dark gradient.
void TitlePicture(const QString& name, int w, int h, const QString& title, const QString& subtitle)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, h);
    gradient.setColorAt(0, QColor(20, 20, 24));
    gradient.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(image.rect(), gradient);
    p.setPen(QPen(kAccent, 4));
    p.drawLine(w / 2 - 120, h / 2 + 30, w / 2 + 120, h / 2 + 30);
    Text(p, QRect(0, h / 2 - 60, w, 80), title, Qt::white, 52);
    Text(p, QRect(0, h / 2 + 40, w, 40), subtitle, QColor(190, 190, 190), 20);
    p.end();
    Save(image, name);
}

// The payment dialog: its background, as large as the purchase page makes the window, with the
// 50-pixel title band above the page; and the close button's strip (normal, pointer over,
// pressed) on magenta, which the dialog takes as transparent. JPEG does not keep magenta exact
// (it decodes as 255, 0, 254 at best) and the dialog removes exact magenta only, so the faces
// fill their frames and leave magenta to the small rounded corners.
void PaymentPictures(const QString& folder)
{
    QImage background = Canvas(360, 320, QColor(31, 30, 34));
    QPainter p(&background);
    p.fillRect(QRect(0, 0, 360, 50), QColor(38, 70, 109));
    p.fillRect(QRect(0, 48, 360, 2), kAccent);
    p.setFont(Font(17));
    p.setPen(Qt::white);
    p.drawText(QRect(16, 0, 280, 50), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("유료 영화 결제"));
    p.end();
    Save(background, "popup_ppv_bg.bmp", folder);

    QImage strip = Canvas(69, 23, QColor(255, 0, 255));
    p.begin(&strip);
    const QColor faces[3] = {QColor(58, 92, 133), QColor(84, 120, 163), kAccent};
    for (int f = 0; f < 3; ++f) {
        const QRect face(f * 23, 0, 23, 23);
        p.setPen(Qt::NoPen);
        p.setBrush(faces[f]);
        p.drawRoundedRect(face, 4, 4);
        p.setPen(QPen(f == 2 ? QColor(Qt::black) : kLight, 2));
        p.drawLine(face.topLeft() + QPoint(6, 6), face.bottomRight() - QPoint(6, 6));
        p.drawLine(face.topRight() + QPoint(-6, 6), face.bottomLeft() + QPoint(6, -6));
    }
    p.end();
    Save(strip, "pop_close.jpg", folder, 100);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen <installation folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_folder = QString::fromLocal8Bit(argv[1]) + "/Images";
    QDir().mkpath(g_folder);

    const char* menus[9] = {"영화", "만화", "운세", "인터넷", "게임", "맛집", "관광", "도움말", "저장"};
    for (int n = 0; n < 9; ++n)
        MenuStrip(n, QString::fromUtf8(menus[n]));
    MediaButtons();
    Buttons();
    TitlePicture("lodgeview_logo.jpg", 612, 339, "Lodgeview", "객실에서 즐기는 최신 영화");
    TitlePicture("CARTOON.bmp", 950, 524, "Lodgeview 만화", "만화 보기 버튼을 누르세요");
    const QString paymentFolder = QString::fromLocal8Bit(argv[1]) + "/Image_data/ppv";
    QDir().mkpath(paymentFolder);
    PaymentPictures(paymentFolder);
    return 0;
}
