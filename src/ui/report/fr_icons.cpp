// The engine's drawings are SVG texts rendered once into a 16 and a 32 pixel image.
#include "ui/report/fr_icons.h"

#include "ui/zelk_resources.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <cstring>

namespace zelk::rep {
namespace {

struct TDrawing {
    const char* Name;
    const char* Svg;
};

#define ZELK_SVG(body)                                                                                       \
    "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16' viewBox='0 0 16 16'>" body "</svg>"

const TDrawing kDrawings[] = {
    {"first", ZELK_SVG("<path d='M3 3v10' stroke='#2c4f7c' stroke-width='2'/><path d='M13 3L5.5 8 13 13z' "
                       "fill='#3d6fb4'/>")},
    {"prior",
     ZELK_SVG("<path d='M11.5 3L4 8l7.5 5z' fill='#3d6fb4' stroke='#2c4f7c' stroke-linejoin='round'/>")},
    {"next",
     ZELK_SVG("<path d='M4.5 3L12 8l-7.5 5z' fill='#3d6fb4' stroke='#2c4f7c' stroke-linejoin='round'/>")},
    {"last", ZELK_SVG("<path d='M13 3v10' stroke='#2c4f7c' stroke-width='2'/><path d='M3 3l7.5 5L3 13z' "
                      "fill='#3d6fb4'/>")},
    {"zoom-in",
     ZELK_SVG("<circle cx='6.5' cy='6.5' r='4.5' fill='#fff' stroke='#2c4f7c' stroke-width='1.5'/>"
              "<path d='M10 10l4.5 4.5' stroke='#6b4a1e' stroke-width='2.4' stroke-linecap='round'/>"
              "<path d='M4.3 6.5h4.4M6.5 4.3v4.4' stroke='#2f8f2f' stroke-width='1.5'/>")},
    {"zoom-out",
     ZELK_SVG("<circle cx='6.5' cy='6.5' r='4.5' fill='#fff' stroke='#2c4f7c' stroke-width='1.5'/>"
              "<path d='M10 10l4.5 4.5' stroke='#6b4a1e' stroke-width='2.4' stroke-linecap='round'/>"
              "<path d='M4.3 6.5h4.4' stroke='#c43b2f' stroke-width='1.5'/>")},
    {"export",
     ZELK_SVG("<path d='M2.5 1.5h6l3 3v10h-9z' fill='#fff' stroke='#4a5a70'/>"
              "<path d='M7 9.5h7M11.5 7l2.5 2.5-2.5 2.5' fill='none' stroke='#2f8f2f' stroke-width='1.6' "
              "stroke-linecap='round' stroke-linejoin='round'/>")},
    {"save",
     ZELK_SVG(
         "<path d='M1.5 1.5h11l2 2v11h-13z' fill='#3d6fb4' stroke='#1c3d6e'/>"
         "<rect x='4' y='2' width='7' height='4.5' fill='#fff'/><rect x='3.5' y='9' width='9' height='5' "
         "fill='#e8edf4'/>")},
    {"add-band", ZELK_SVG("<rect x='1.5' y='5.5' width='11' height='5' fill='#dbe7f7' stroke='#2c4f7c'/>"
                          "<path d='M12.5 1v5M10 3.5h5' stroke='#2f8f2f' stroke-width='1.6'/>")},
    {"add-text", ZELK_SVG("<rect x='1.5' y='4.5' width='10' height='8' fill='#fff' stroke='#4a5a70'/>"
                          "<path d='M4 7h5M6.5 7v4' stroke='#222' stroke-width='1.3'/>"
                          "<path d='M12.5 1v5M10 3.5h5' stroke='#2f8f2f' stroke-width='1.6'/>")},
    {"move-up",
     ZELK_SVG("<path d='M8 2l5 6h-3v6H6V8H3z' fill='#3d6fb4' stroke='#2c4f7c' stroke-linejoin='round'/>")},
    {"move-down",
     ZELK_SVG("<path d='M8 14l5-6h-3V2H6v6H3z' fill='#3d6fb4' stroke='#2c4f7c' stroke-linejoin='round'/>")},
};

#undef ZELK_SVG

QIcon Render(const char* svg) {
    QSvgRenderer renderer{QByteArray(svg)};
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon ReportIcon(const char* name) {
    for (const TDrawing& d : kDrawings)
        if (std::strcmp(d.Name, name) == 0) return Render(d.Svg);
    return ui::TZelkResources::Image(QString::fromLatin1(name));
}

} // namespace zelk::rep
