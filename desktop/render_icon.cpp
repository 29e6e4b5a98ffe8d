// marvolt-render-icon SVG PNG SIZE: draws the SVG picture on a transparent square of SIZE
// pixels and saves it as PNG, for the icon themes that want a bitmap beside the scalable
// picture.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    const int size = argc == 4 ? std::atoi(argv[3]) : 0;
    if (size <= 0) {
        std::fputs("usage: marvolt-render-icon SVG PNG SIZE\n", stderr);
        return 64;
    }
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    if (!picture.isValid()) {
        std::fprintf(stderr, "marvolt-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    picture.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "marvolt-render-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
