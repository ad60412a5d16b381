// Writes every picture as <dir>/<name>.png for review by eye, and as
// <dir>/<name>@2x.png the way a screen at twice the pixel density shows it.
#include "ui/pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: quibbet_pictures <dir>\n";
        return 2;
    }
    QDir dir(args[1]);
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "cannot create " << args[1] << '\n';
        return 1;
    }
    int failures = 0;
    for (int i = 0; i < ui::pictures::kCount; ++i) {
        const auto id = static_cast<ui::pictures::Id>(i);
        for (const int ratio : {1, 2}) {
            const QString suffix = ratio == 1 ? QStringLiteral(".png") : QStringLiteral("@%1x.png").arg(ratio);
            const QString file = dir.filePath(ui::pictures::Name(id) + suffix);
            if (!ui::pictures::Draw(id, ratio).save(file, "PNG")) {
                err << "cannot write " << file << '\n';
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
