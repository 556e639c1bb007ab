// zelkicon: renders the program's SVG icon as a square PNG of a given size, for the icon theme's
// fixed-size folders of an installation.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "Usage: zelkicon ICON.svg SIZE OUT.png\n";
        return 2;
    }
    const int size = std::stoi(argv[2]);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || size <= 0) {
        std::cerr << "zelkicon: cannot render " << argv[1] << " at " << argv[2] << " pixels\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::cerr << "zelkicon: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
