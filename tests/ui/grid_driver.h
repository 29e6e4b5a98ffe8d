#pragma once
// Keys and typing sent where the user's would go: to the widget that has the focus.

#include <QApplication>
#include <QtTest>

namespace marvolt::testing {

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
}

inline void type(const QString& text) {
    for (const QChar character : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, character.toLatin1());
    }
}

}  // namespace marvolt::testing
