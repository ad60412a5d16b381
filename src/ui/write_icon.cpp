// Writes the program's icon into a hicolor theme folder at build time:
// <dir>/<n>x<n>/apps/quibbet.png for every size given, and
// <dir>/scalable/apps/quibbet.svg.
#include "ui/pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

bool WritePng(const QDir& theme, int side)
{
    const QString folder = QStringLiteral("%1x%1/apps").arg(side);
    if (!theme.mkpath(folder))
        return false;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        ui::pictures::PaintAppIcon(painter, side);
    }
    return image.save(theme.filePath(folder + QStringLiteral("/quibbet.png")), "PNG");
}

bool WriteSvg(const QDir& theme)
{
    // The drawing is in pixels of a 256-pixel icon; the view box makes it scale.
    constexpr int kSide = 256;
    if (!theme.mkpath(QStringLiteral("scalable/apps")))
        return false;
    QSvgGenerator svg;
    svg.setFileName(theme.filePath(QStringLiteral("scalable/apps/quibbet.svg")));
    svg.setSize(QSize(kSide, kSide));
    svg.setViewBox(QRect(0, 0, kSide, kSide));
    svg.setTitle(QStringLiteral("Quibbet"));
    svg.setDescription(QStringLiteral("The Quibbet icon: four coloured squares parted by a black cross"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    ui::pictures::PaintAppIcon(painter, kSide);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: quibbet_icon <hicolor-dir> <size>...\n";
        return 2;
    }
    const QDir theme(args[1]);
    int failures = 0;
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool number = false;
        const int side = args[i].toInt(&number);
        if (!number || side <= 0 || !WritePng(theme, side)) {
            err << "cannot write the " << args[i] << " pixel icon under " << args[1] << '\n';
            ++failures;
        }
    }
    if (!WriteSvg(theme)) {
        err << "cannot write the scalable icon under " << args[1] << '\n';
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
