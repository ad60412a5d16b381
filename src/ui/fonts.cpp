#include "ui/fonts.h"

#include <QDir>
#include <QFontDatabase>

namespace ui {

void LoadFonts()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QDir dir(QStringLiteral(":/fonts"));
    for (const QString& name : dir.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(dir.filePath(name));
}

QFont LayoutFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace ui
