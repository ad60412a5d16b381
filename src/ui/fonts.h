#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The three stand-in families, compiled into the program.
inline const QString kComic = QStringLiteral("Comic Neue");        // for Comic Sans MS
inline const QString kSans = QStringLiteral("Liberation Sans");    // for MS Sans Serif
inline const QString kSerif = QStringLiteral("Liberation Serif");  // for Times New Roman

// Registers the embedded fonts with Qt; call once after QApplication exists.
void LoadFonts();

// A font of the layout, given in points at 96 dots per inch, as pixels so that
// the window looks the same whatever the screen reports.
QFont LayoutFont(const QString& family, double points, bool bold);

}  // namespace ui
