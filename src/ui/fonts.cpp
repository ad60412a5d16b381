#include "ui/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <algorithm>

#include "ui/twips.h"

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
    font.setPixelSize(std::max(1, qRound(points * 96.0 / 72.0 * LayoutScale())));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace ui
