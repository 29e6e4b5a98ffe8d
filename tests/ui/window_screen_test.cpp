// The window on a screen smaller than itself: run on the offscreen platform's 800 x 600
// screen at a scale of 2 (QT_SCALE_FACTOR=2), which leaves 400 x 300 to the window.
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>

#include "durov.h"

class WindowScreenTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The window stands inside the screen's available area, and each control, scrolled
    // to, is inside the window.
    void fitsTheScreenAndScrolls() {
        marvolt::TimeTable table;
        marvolt::TfrmDurov window(table);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        QVERIFY2(area.width() < 654 && area.height() < 559, "the screen must be the smaller");
        QVERIFY(area.contains(window.frameGeometry()));
        auto* scroller = window.findChild<QScrollArea*>("scroller");
        QVERIFY(scroller);
        for (const char* name : {"btnPlikCzas", "btnModyfikuj", "BitBtn1"}) {
            auto* button = window.findChild<QPushButton*>(name);
            QVERIFY(button);
            scroller->ensureWidgetVisible(button);
            const QRect shown(button->mapTo(&window, QPoint()), button->size());
            QVERIFY2(window.rect().contains(shown), name);
        }
    }
};

QTEST_MAIN(WindowScreenTest)
#include "window_screen_test.moc"
