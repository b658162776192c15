// Renders the icon's SVG into square PNGs for the hicolor theme's fixed
// sizes, for desktops and menus that do not scale the SVG themselves.
//
// usage: render_icon ICON.svg OUTPUT_DIR NAME SIZE...
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/NAME.png for each SIZE.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s ICON.svg OUTPUT_DIR NAME SIZE...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a valid SVG\n", argv[1]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1) {
            std::fprintf(stderr, "%s: not a size\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = output.filePath(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!output.mkpath(dir) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
