#include "navigator.h"

#include <QToolButton>
#include <QtTest>

#include "cell_text.h"
#include "modal_answerer.h"

using marvolt::cellText;
using marvolt::Field;
using marvolt::NavigatorButton;
using marvolt::TableNavigator;
using marvolt::TableState;
using marvolt::TimeTable;
using marvolt::TimeTableModel;
using marvolt::testing::ModalAnswerer;

namespace {

constexpr NavigatorButton kAll[] = {
    NavigatorButton::First, NavigatorButton::Prior,  NavigatorButton::Next,
    NavigatorButton::Last,  NavigatorButton::Insert, NavigatorButton::Delete,
    NavigatorButton::Edit,  NavigatorButton::Post,   NavigatorButton::Cancel};

}  // namespace

class NavigatorTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        table = std::make_unique<TimeTable>();
        model = std::make_unique<TimeTableModel>(*table);
        navigator = std::make_unique<TableNavigator>(*model, nullptr);
        navigator->setGeometry(280, 32, 234, 25);
        navigator->show();
    }
    void cleanup() {
        navigator.reset();
        model.reset();
        table.reset();
    }

    void buttonsInOrderWithHints() {
        QStringList hints;
        int left = -1;
        for (NavigatorButton which : kAll) {
            QToolButton* button = navigator->button(which);
            hints << button->toolTip();
            QVERIFY(button->x() > left);
            left = button->x();
            QCOMPARE(button->width(), 26);
        }
        QCOMPARE(hints, QStringList({"Pierwszy punkt", "Poprzedni punkt", "Następny punkt",
                                     "Ostatni punkt", "Dodaj punkt", "Usuń punkt", "Edytuj punkt",
                                     "Zatwierdź edycję", "Porzuć edycję"}));
    }

    // Enabled buttons as a string of the nine in order: 1 enabled, 0 disabled.
    void enableRules_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("closed") << ""
                                << "000000000";
        QTest::newRow("open and empty") << "open"
                                        << "000010100";
        QTest::newRow("at the first of two") << "open fill first"
                                             << "001111100";
        QTest::newRow("between the marks") << "open fill first next"
                                           << "111111100";
        QTest::newRow("at the end mark") << "open fill first next next"
                                         << "110011100";
        QTest::newRow("editing") << "open fill first next edit"
                                 << "111111011";
        QTest::newRow("inserting") << "open fill first insert"
                                   << "111111011";
        QTest::newRow("inserting into the empty table") << "open insert"
                                                        << "111111011";
    }
    void enableRules() {
        QFETCH(QString, steps);
        QFETCH(QString, enabled);
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step == "open") table->open();
            if (step == "fill") addTwoPoints();
            if (step == "first") model->cursor().first();
            if (step == "next") model->cursor().next();
            if (step == "edit") model->cursor().edit();
            if (step == "insert") model->cursor().insert();
        }
        QString shown;
        for (NavigatorButton which : kAll)
            shown += navigator->button(which)->isEnabled() ? '1' : '0';
        QCOMPARE(shown, enabled);
    }

    void buttonsActOnTheTable() {
        table->open();
        addTwoPoints();
        model->cursor().first();
        click(NavigatorButton::Last);
        QCOMPARE(model->cursor().currentRow(), 1);
        click(NavigatorButton::Prior);
        QCOMPARE(model->cursor().currentRow(), 0);
        click(NavigatorButton::Insert);
        QCOMPARE(table->state(), TableState::Inserting);
        click(NavigatorButton::Post);
        QCOMPARE(table->recordCount(), 3);  // posted although nothing was typed
        click(NavigatorButton::Edit);
        QCOMPARE(table->state(), TableState::Editing);
        click(NavigatorButton::Cancel);
        QCOMPARE(table->state(), TableState::Browsing);
    }

    // Delete asks first; "Anuluj" or closing the window deletes nothing, "OK" deletes.
    void deleteAsksFirst() {
        table->open();
        addTwoPoints();
        model->cursor().first();
        ModalAnswerer boxes;
        boxes.clicks = {"Anuluj"};
        click(NavigatorButton::Delete);
        QCOMPARE(table->recordCount(), 2);
        click(NavigatorButton::Delete);  // no click scripted: the box is closed
        QCOMPARE(table->recordCount(), 2);
        boxes.clicks = {"OK"};
        click(NavigatorButton::Delete);
        QCOMPARE(table->recordCount(), 1);
        QCOMPARE(cellText(*table, model->cursor().currentRow(), Field::Punkt), std::string("B"));
        QCOMPARE(boxes.seen.size(), std::size_t(3));
        for (const auto& box : boxes.seen) {
            QCOMPARE(box.caption, QString("Potwierdź"));
            QCOMPARE(box.text, QString("Delete record?"));
            QCOMPARE(box.icon, QMessageBox::Question);
            QCOMPARE(box.buttons, QStringList({"OK", "Anuluj"}));
        }
    }

    // A grid editor whose text the field refuses stops the action; cancel throws it away.
    void editorHooks() {
        table->open();
        addTwoPoints();
        model->cursor().first();
        bool accept = false;
        int discarded = 0;
        navigator->setEditorHooks([&] { return accept; }, [&] { ++discarded; });
        click(NavigatorButton::Next);
        QCOMPARE(model->cursor().currentRow(), 0);
        accept = true;
        click(NavigatorButton::Next);
        QCOMPARE(model->cursor().currentRow(), 1);
        click(NavigatorButton::Edit);
        click(NavigatorButton::Cancel);
        QCOMPARE(discarded, 1);
    }

  private:
    void addTwoPoints() {
        for (const char* name : {"A", "B"}) {
            model->cursor().append();
            table->setText(Field::Punkt, name);
            table->setText(Field::Stop, name[0] == 'A' ? "10:00" : "11:00");
            table->post();
        }
    }
    void click(NavigatorButton which) {
        QVERIFY(navigator->button(which)->isEnabled());
        QTest::mouseClick(navigator->button(which), Qt::LeftButton);
    }

    std::unique_ptr<TimeTable> table;
    std::unique_ptr<TimeTableModel> model;
    std::unique_ptr<TableNavigator> navigator;
};

QTEST_MAIN(NavigatorTest)
#include "navigator_test.moc"
