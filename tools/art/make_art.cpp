// Draws the editor's pictures with QPainter: the eleven command buttons (an enabled and a
// disabled picture each, at 40 and 80 pixels), the command panel's background, the splash
// picture and the application icon in the usual icon sizes.
//
//   quillbox-art REPO   writes REPO/src/app/pictures/*.png, REPO/assets/icons/... and the
//                       button pictures of the help page, REPO/assets/help/buttons/*.png
//
// Every drawing works on a 48 x 48 design grid; the disabled pictures are the same drawings
// in a flat, light grey palette so a disabled button reads as such at a glance.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

struct Ink {
    bool enabled = true;
    // The colour as drawn: itself, or a light grey of the same lightness order.
    QColor operator()(const QColor& c) const {
        if (enabled) return c;
        const int grey = qGray(c.rgb());
        const int light = 150 + grey * 90 / 255;
        return QColor(light, light, light + 4, c.alpha());
    }
    QColor operator()(const char* name) const { return (*this)(QColor(name)); }
};

QPen Outline(const Ink& ink, const char* colour, qreal width = 1.6) {
    QPen pen(ink(colour), width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QBrush Vertical(const Ink& ink, const char* top, const char* bottom, qreal y0, qreal y1) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, ink(top));
    g.setColorAt(1, ink(bottom));
    return g;
}

// --- shared parts ---------------------------------------------------------------------------

void Folder(QPainter& p, const Ink& ink, bool open) {
    QPainterPath back;
    back.moveTo(5, 12);
    back.lineTo(18, 12);
    back.lineTo(22, 16);
    back.lineTo(41, 16);
    back.quadTo(43, 16, 43, 18);
    back.lineTo(43, 38);
    back.lineTo(5, 38);
    back.closeSubpath();
    p.setPen(Outline(ink, "#8a5a0b"));
    p.setBrush(Vertical(ink, "#e9a82a", "#c98612", 12, 38));
    p.drawPath(back);
    QPainterPath front;
    if (open) {
        front.moveTo(9, 21);
        front.lineTo(46, 21);
        front.lineTo(41, 39);
        front.lineTo(4, 39);
        front.closeSubpath();
    } else {
        front.addRoundedRect(QRectF(5, 20, 38, 19), 2, 2);
    }
    p.setBrush(Vertical(ink, "#ffd866", "#f0b428", 20, 39));
    p.drawPath(front);
}

void Badge(QPainter& p, const Ink& ink, const char* top, const char* bottom, const char* edge,
           QPointF centre, qreal radius) {
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.6);
    g.setColorAt(0, ink(top));
    g.setColorAt(1, ink(bottom));
    p.setPen(Outline(ink, edge, 1.4));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void PlusBadge(QPainter& p, const Ink& ink, QPointF c) {
    Badge(p, ink, "#7fd67f", "#2f9a3c", "#1e6a28", c, 9);
    p.setPen(QPen(ink("#ffffff"), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4.5, 0), c + QPointF(4.5, 0));
    p.drawLine(c + QPointF(0, -4.5), c + QPointF(0, 4.5));
}

void CrossBadge(QPainter& p, const Ink& ink, QPointF c) {
    Badge(p, ink, "#f28b82", "#c62f25", "#7f1a14", c, 9);
    p.setPen(QPen(ink("#ffffff"), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-3.6, -3.6), c + QPointF(3.6, 3.6));
    p.drawLine(c + QPointF(-3.6, 3.6), c + QPointF(3.6, -3.6));
}

void Page(QPainter& p, const Ink& ink, QRectF r) {
    const qreal fold = 8;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(Outline(ink, "#6b7a8c"));
    p.setBrush(Vertical(ink, "#ffffff", "#e3e9f1", r.top(), r.bottom()));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(ink("#c9d3df"));
    p.drawPath(corner);
    p.setPen(QPen(ink("#9fb0c4"), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (qreal y = r.top() + 13; y < r.bottom() - 4; y += 5)
        p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 5, y));
}

// --- the eleven buttons ---------------------------------------------------------------------

void NewProject(QPainter& p, const Ink& ink) {
    Folder(p, ink, false);
    PlusBadge(p, ink, {36, 35});
}

void OpenProject(QPainter& p, const Ink& ink) {
    Folder(p, ink, true);
    // An arrow coming out of the folder.
    p.setPen(Outline(ink, "#1d4f91", 1.4));
    p.setBrush(Vertical(ink, "#6fb1ff", "#2f6fd0", 2, 20));
    QPainterPath arrow;
    arrow.moveTo(30, 3);
    arrow.lineTo(39, 11);
    arrow.lineTo(34, 11);
    arrow.lineTo(34, 19);
    arrow.lineTo(26, 19);
    arrow.lineTo(26, 11);
    arrow.lineTo(21, 11);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void CloseProject(QPainter& p, const Ink& ink) {
    Folder(p, ink, false);
    CrossBadge(p, ink, {36, 35});
}

void NewItem(QPainter& p, const Ink& ink) {
    Page(p, ink, {9, 4, 26, 36});
    PlusBadge(p, ink, {35, 35});
}

void EditItem(QPainter& p, const Ink& ink) {
    Page(p, ink, {7, 4, 26, 36});
    // A pencil across the page.
    p.save();
    p.translate(30, 26);
    p.rotate(45);
    p.setPen(Outline(ink, "#6b4a12", 1.3));
    p.setBrush(Vertical(ink, "#ffd35c", "#e39a1b", -4, 4));
    p.drawRect(QRectF(-14, -4, 22, 8));
    p.setBrush(ink("#f08a8a"));
    p.drawRect(QRectF(8, -4, 5, 8));
    QPainterPath tip;
    tip.moveTo(-14, -4);
    tip.lineTo(-21, 0);
    tip.lineTo(-14, 4);
    tip.closeSubpath();
    p.setBrush(ink("#f1d3a6"));
    p.drawPath(tip);
    p.setBrush(ink("#333333"));
    p.setPen(Qt::NoPen);
    QPainterPath lead;
    lead.moveTo(-18.6, -1.4);
    lead.lineTo(-21, 0);
    lead.lineTo(-18.6, 1.4);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

void DeleteItem(QPainter& p, const Ink& ink) {
    // A waste bin.
    p.setPen(Outline(ink, "#3e4c5a"));
    QPainterPath bin;
    bin.moveTo(12, 14);
    bin.lineTo(36, 14);
    bin.lineTo(33, 43);
    bin.lineTo(15, 43);
    bin.closeSubpath();
    QLinearGradient body(12, 0, 36, 0);
    body.setColorAt(0, ink("#c3ced9"));
    body.setColorAt(0.5, ink("#eef2f6"));
    body.setColorAt(1, ink("#9fb0c0"));
    p.setBrush(body);
    p.drawPath(bin);
    p.setPen(QPen(ink("#6d7d8d"), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {19.0, 24.0, 29.0}) p.drawLine(QPointF(x, 19), QPointF(x - (x - 24) * 0.15, 39));
    p.setPen(Outline(ink, "#3e4c5a"));
    p.setBrush(Vertical(ink, "#e25b50", "#b3261e", 7, 14));
    p.drawRoundedRect(QRectF(9, 9, 30, 5), 1.5, 1.5);
    p.drawRoundedRect(QRectF(19, 5, 10, 4), 1.5, 1.5);
}

void CopyItem(QPainter& p, const Ink& ink) {
    Page(p, ink, {5, 3, 24, 32});
    Page(p, ink, {18, 13, 24, 32});
}

void Compile(QPainter& p, const Ink& ink) {
    // A gear: the build.
    const QPointF c(24, 24);
    QPainterPath gear;
    const int teeth = 9;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * M_PI / teeth;
        const qreal a1 = (i + 0.5) * M_PI / teeth;
        const qreal r = (i % 2 == 0) ? 20 : 15;
        const QPointF p0 = c + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF p1 = c + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0) gear.moveTo(p0); else gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 6, 6);
    gear = gear.subtracted(hole);
    QRadialGradient g(c - QPointF(6, 6), 30);
    g.setColorAt(0, ink("#d7e0ea"));
    g.setColorAt(1, ink("#5f7287"));
    p.setPen(Outline(ink, "#2e3b48", 1.4));
    p.setBrush(g);
    p.drawPath(gear);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink("#8fa2b5"), 1.2));
    p.drawEllipse(c, 10.5, 10.5);
}

void TestGame(QPainter& p, const Ink& ink) {
    Badge(p, ink, "#8be08f", "#23913a", "#155c24", {24, 24}, 19);
    QPainterPath play;
    play.moveTo(19, 14);
    play.lineTo(34, 24);
    play.lineTo(19, 34);
    play.closeSubpath();
    p.setPen(QPen(ink("#ffffff"), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink("#ffffff"));
    p.drawPath(play);
}

void Preferences(QPainter& p, const Ink& ink) {
    // Three sliders on a panel.
    p.setPen(Outline(ink, "#4b5a69"));
    p.setBrush(Vertical(ink, "#f4f7fa", "#cfd8e2", 6, 42));
    p.drawRoundedRect(QRectF(5, 6, 38, 36), 5, 5);
    const qreal xs[3] = {15, 24, 33};
    const qreal knobs[3] = {30, 16, 25};
    const char* colours[3][2] = {{"#ffb35c", "#e0741b"}, {"#7db7ff", "#2f6fd0"}, {"#8be08f", "#23913a"}};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(ink("#5a6b7c"), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(xs[i], 11), QPointF(xs[i], 37));
        p.setPen(Outline(ink, "#3a4754", 1.2));
        p.setBrush(Vertical(ink, colours[i][0], colours[i][1], knobs[i] - 3, knobs[i] + 3));
        p.drawRoundedRect(QRectF(xs[i] - 4.5, knobs[i] - 3, 9, 6), 1.5, 1.5);
    }
}

void Help(QPainter& p, const Ink& ink) {
    Badge(p, ink, "#8cc0ff", "#2d63c8", "#173b7d", {24, 24}, 19);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(28);
    QPainterPath mark;
    mark.addText(0, 0, font, "?");
    const QRectF box = mark.boundingRect();
    mark.translate(24 - box.center().x(), 24 - box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(ink("#ffffff"));
    p.drawPath(mark);
}

struct Button {
    const char* name;
    void (*draw)(QPainter&, const Ink&);
};
const Button kButtons[] = {
    {"new_project", NewProject}, {"open_project", OpenProject}, {"close_project", CloseProject},
    {"new_item", NewItem},       {"edit_item", EditItem},       {"delete_item", DeleteItem},
    {"copy_item", CopyItem},     {"compile", Compile},          {"test_game", TestGame},
    {"preferences", Preferences}, {"help", Help},
};

QImage Draw(int size, const std::function<void(QPainter&)>& draw, qreal grid = 48) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / grid, size / grid);
    draw(p);
    return image;
}

// --- panel background, splash, icon ---------------------------------------------------------

QImage PanelBackground() {
    QImage image(16, 73, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 73);
    g.setColorAt(0, QColor("#fbfcfe"));
    g.setColorAt(0.55, QColor("#eef2f7"));
    g.setColorAt(1, QColor("#d9e1eb"));
    p.fillRect(image.rect(), g);
    p.setPen(QColor("#ffffff"));
    p.drawLine(0, 0, 15, 0);
    p.setPen(QColor("#aab6c5"));
    p.drawLine(0, 72, 15, 72);
    return image;
}

void Feather(QPainter& p, qreal scale) {
    // A quill from bottom-left to top-right, in a 48-unit grid scaled by scale.
    p.save();
    p.scale(scale, scale);
    p.translate(24, 24);
    p.rotate(45);
    QPainterPath vane;
    vane.moveTo(0, 19);
    vane.cubicTo(-10, 8, -9, -10, 0, -21);
    vane.cubicTo(9, -10, 8, 6, 0, 19);
    QLinearGradient g(-9, 0, 9, 0);
    g.setColorAt(0, QColor("#ffffff"));
    g.setColorAt(1, QColor("#d6e4ff"));
    p.setPen(QPen(QColor(20, 40, 90, 120), 0.8));
    p.setBrush(g);
    p.drawPath(vane);
    p.setPen(QPen(QColor(120, 140, 190), 0.6));
    for (qreal y = -14; y < 14; y += 3.2) {
        p.drawLine(QPointF(0, y + 2), QPointF(-6.2 + std::fabs(y) * 0.18, y - 2));
        p.drawLine(QPointF(0, y + 2), QPointF(6.2 - std::fabs(y) * 0.18, y - 2));
    }
    p.setPen(QPen(QColor("#8a6a2a"), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -19), QPointF(0, 23));
    p.restore();
}

QImage AppIcon(int size) {
    return Draw(size, [](QPainter& p) {
        QLinearGradient g(0, 2, 0, 46);
        g.setColorAt(0, QColor("#4f86ea"));
        g.setColorAt(1, QColor("#1f3f8f"));
        p.setPen(QPen(QColor("#142a63"), 1.2));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
        // Pixel "game" squares in the corner under the quill.
        const QColor squares[3] = {QColor("#ffcf4a"), QColor("#6fe07a"), QColor("#ff7a6a")};
        for (int i = 0; i < 3; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(squares[i]);
            p.drawRoundedRect(QRectF(30 + (i % 2) * 6, 30 + (i / 2) * 6 - (i == 2 ? 0 : 0), 5, 5), 1, 1);
        }
        p.setBrush(QColor("#7fc6ff"));
        p.drawRoundedRect(QRectF(36, 36, 5, 5), 1, 1);
        Feather(p, 0.92);
    });
}

QImage Splash() {
    const int w = 460, h = 230;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor("#10204a"));
    sky.setColorAt(1, QColor("#2b5bb8"));
    p.fillRect(image.rect(), sky);
    // Stars.
    unsigned seed = 7;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7fff; };
    for (int i = 0; i < 70; ++i) {
        const qreal x = next() % w, y = next() % (h - 60);
        const qreal r = 0.6 + (next() % 100) / 90.0;
        if (QRectF(176, 52, 284, 110).contains(x, y)) continue;  // keep the title clear
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 90 + next() % 150));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    // A row of tiles along the bottom, like a game's ground.
    for (int x = 0; x < w; x += 20) {
        QLinearGradient tile(0, h - 26, 0, h);
        tile.setColorAt(0, QColor("#5fbf4f"));
        tile.setColorAt(1, QColor("#2f7f2a"));
        p.setBrush(tile);
        p.setPen(QPen(QColor("#1f5a1c"), 1));
        p.drawRect(QRectF(x, h - 26, 20, 26));
    }
    // The quill on its icon, left.
    p.save();
    p.translate(28, 44);
    const QImage icon = AppIcon(132);
    p.drawImage(0, 0, icon);
    p.restore();
    // Title.
    QFont title("DejaVu Sans");
    title.setBold(true);
    title.setPixelSize(50);
    QPainterPath text;
    text.addText(182, 104, title, "Quillbox");
    p.setPen(QPen(QColor(0, 0, 0, 90), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text.translated(2, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#ffffff"));
    p.drawPath(text);
    QFont sub("DejaVu Sans");
    sub.setPixelSize(15);
    p.setFont(sub);
    p.setPen(QColor("#d6e4ff"));
    p.drawText(QRectF(184, 116, 270, 60), Qt::AlignLeft | Qt::TextWordWrap,
               "Browser games from pictures, sounds and settings");
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillbox-art REPOSITORY\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir repo(QString::fromLocal8Bit(argv[1]));
    const QString pictures = repo.filePath("src/app/pictures");
    const QString icons = repo.filePath("assets/icons");
    QDir().mkpath(pictures);
    bool ok = true;
    for (const Button& button : kButtons) {
        for (const bool enabled : {true, false}) {
            const Ink ink{enabled};
            for (const int size : {40, 80}) {
                const QImage image = Draw(size, [&](QPainter& p) { button.draw(p, ink); });
                QString name = QString::fromLatin1(button.name);
                if (!enabled) name += "_disabled";
                if (size == 80) name += "@2x";
                ok &= Save(image, pictures + "/" + name + ".png");
            }
        }
    }
    // The help page shows the buttons it talks about.
    const QString helpButtons = repo.filePath("assets/help/buttons");
    QDir().mkpath(helpButtons);
    for (const Button& button : kButtons)
        ok &= Save(Draw(40, [&](QPainter& p) { button.draw(p, Ink{true}); }),
                   helpButtons + "/" + button.name + ".png");
    ok &= Save(PanelBackground(), pictures + "/panel_background.png");
    ok &= Save(Splash(), pictures + "/splash.png");
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = icons + QString("/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(folder);
        ok &= Save(AppIcon(size), folder + "/quillbox.png");
    }
    ok &= Save(AppIcon(256), pictures + "/quillbox.png");
    return ok ? 0 : 1;
}
