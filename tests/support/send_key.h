#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

// One key event sent straight to a widget, marked auto-repeated or not, as X
// delivers a held key.
inline void SendKey(QWidget* target, QEvent::Type type, int key, bool autoRepeat,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QVERIFY(target);
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}
