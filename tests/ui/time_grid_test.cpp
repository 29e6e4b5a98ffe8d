#include "time_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "cell_text.h"
#include "grid_driver.h"
#include "modal_answerer.h"

using marvolt::cellText;
using marvolt::Field;
using marvolt::TableState;
using marvolt::TimeGrid;
using marvolt::TimeTable;
using marvolt::TimeTableModel;
using marvolt::testing::ModalAnswerer;
using marvolt::testing::press;
using marvolt::testing::type;

namespace {

constexpr int kPunkt = static_cast<int>(Field::Punkt);
constexpr int kStop = static_cast<int>(Field::Stop);
constexpr int kGo = static_cast<int>(Field::Go);
constexpr int kGo2 = static_cast<int>(Field::Go2);

}  // namespace

// The grid alone in a window with one other control, over a table of two points.
class TimeGridTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        table = std::make_unique<TimeTable>();
        window = std::make_unique<QWidget>();
        model = new TimeTableModel(*table, window.get());
        grid = new TimeGrid(*model, window.get());
        other = new QPushButton("inny", window.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(grid);
        layout->addWidget(other);
        window->resize(420, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        table->open();
        for (const auto& [name, stop] : {std::pair{"A", "10:00:00"}, {"B", "11:00:00"}}) {
            model->cursor().append();
            table->setText(Field::Punkt, name);
            table->setText(Field::Stop, stop);
            table->post();
        }
        model->cursor().first();
        grid->setFocus();
    }
    void cleanup() {
        window.reset();
        table.reset();
    }

    // An indicator column 11 pixels wide, five user-resizable columns, grid lines.
    void columns() {
        QCOMPARE(grid->verticalHeader()->width(), 11);
        QList<int> widths;
        for (int column = 0; column < 5; ++column) {
            widths << grid->columnWidth(column);
            QCOMPARE(grid->horizontalHeader()->sectionResizeMode(column), QHeaderView::Interactive);
        }
        QCOMPARE(widths, QList<int>({60, 70, 70, 70, 70}));
        QVERIFY(grid->showGrid());
    }

    // Typing starts editing at once; moving to another row posts the record, which takes
    // its place in STOP order while the grid's current row stays at the same position.
    void typingEditsAndLeavingTheRowPosts() {
        grid->setCurrentIndex(model->index(0, kStop));
        type("12");
        QVERIFY(grid->editorOpen());
        QCOMPARE(table->state(), TableState::Editing);
        press(Qt::Key_Down);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(names(), QStringList({"B", "A"}));
        QCOMPARE(cell(1, kStop), QString("12:00:00"));
        QCOMPARE(grid->currentIndex(), model->index(1, kStop));
        QCOMPARE(model->cursor().currentRow(), 1);
    }

    // A click on another row lands on the clicked record after the edited one was posted.
    void clickOnAnotherRow() {
        grid->setCurrentIndex(model->index(0, kPunkt));
        type("Z");
        grid->setCurrentIndex(model->index(1, kPunkt));
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(names(), QStringList({"Z", "B"}));
        QCOMPARE(model->cursor().currentRow(), 1);
    }

    // Down on the last record appends; an untouched new last record stays put on Down and
    // is dropped by Up.
    void downAppendsUpDrops() {
        grid->setCurrentIndex(model->index(1, kPunkt));
        press(Qt::Key_Down);
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(grid->currentIndex(), model->index(2, kPunkt));
        press(Qt::Key_Down);
        QCOMPARE(model->rowCount(), 3);
        press(Qt::Key_Up);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(grid->currentIndex(), model->index(1, kPunkt));
    }

    // Esc throws away the typed text first, then cancels the new record.
    void insertAndEscape() {
        grid->setCurrentIndex(model->index(1, kStop));
        press(Qt::Key_Insert);
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(names(), QStringList({"A", "", "B"}));
        type("9");
        press(Qt::Key_Escape);
        QVERIFY(!grid->editorOpen());
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(cell(1, kStop), QString());
        press(Qt::Key_Escape);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(names(), QStringList({"A", "B"}));
    }

    // Tab and Shift+Tab move over PUNKT, STOP and GO only, wrapping to the next or previous
    // record; Tab after the last record's GO appends.
    void tabSkipsGmtColumnsAndWraps() {
        QList<QModelIndex> visited;
        grid->setCurrentIndex(model->index(0, kPunkt));
        for (int i = 0; i < 6; ++i) {
            press(Qt::Key_Tab);
            visited << grid->currentIndex();
        }
        QCOMPARE(visited, QList<QModelIndex>({model->index(0, kStop), model->index(0, kGo),
                                              model->index(1, kPunkt), model->index(1, kStop),
                                              model->index(1, kGo), model->index(2, kPunkt)}));
        QCOMPARE(table->state(), TableState::Inserting);
        press(Qt::Key_Backtab);
        QCOMPARE(grid->currentIndex(), model->index(1, kGo));
        QCOMPARE(model->rowCount(), 2);  // the untouched new record went
        grid->setCurrentIndex(model->index(1, kGo2));
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(grid->currentIndex(), model->index(1, kGo));
    }

    // F2 opens the editor without starting an edit; the PUNKT editor takes 10 bytes.
    void f2AndPointNameLimit() {
        grid->setCurrentIndex(model->index(0, kPunkt));
        press(Qt::Key_F2);
        QVERIFY(grid->editorOpen());
        QCOMPARE(table->state(), TableState::Browsing);
        press(Qt::Key_Escape);
        type("ABCDEFGHIJKL");
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("ABCDEFGHIJ"));
    }

    // Ctrl+Delete asks first: "Anuluj" keeps the record, "OK" deletes it.
    void ctrlDeleteAsks() {
        ModalAnswerer boxes;
        boxes.clicks = {"Anuluj", "OK"};
        press(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(names(), QStringList({"A", "B"}));
        window->activateWindow();  // the offscreen platform gives the window back no focus
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        press(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(names(), QStringList({"B"}));
        window->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(boxes.texts(), QStringList({"Delete record?", "Delete record?"}));
        press(Qt::Key_Delete);  // Delete alone deletes nothing
        QCOMPARE(names(), QStringList({"B"}));
    }

    // Focus leaving the grid drops an untouched new record and keeps a typed one.
    void focusLeavingTheGrid() {
        press(Qt::Key_Insert);
        other->setFocus();
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(model->rowCount(), 2);

        grid->setFocus();
        press(Qt::Key_Insert);
        type("N");
        other->setFocus();
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(cellText(*table, model->cursor().currentRow(), Field::Punkt), std::string("N"));
    }

    // A time the field refuses: the failure's text, the editor keeps it, the row stays.
    void refusedTimeStaysInTheEditor() {
        QSignalSpy failed(grid, &TimeGrid::failed);
        QSignalSpy refused(model, &TimeTableModel::writeFailed);
        grid->setCurrentIndex(model->index(0, kGo));
        type("x");
        press(Qt::Key_Down);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0][0].toString(), QString("'x' is not a valid time"));
        QVERIFY(grid->editorOpen());
        QCOMPARE(table->state(), TableState::Editing);
        QCOMPARE(grid->currentIndex(), model->index(0, kGo));
        QVERIFY(!grid->commitEditor());
        press(Qt::Key_Escape);
        press(Qt::Key_Escape);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(failed.size(), 0);
    }

  private:
    QStringList names() const {
        QStringList result;
        for (int row = 0; row < model->rowCount(); ++row) result << cell(row, kPunkt);
        return result;
    }
    QString cell(int row, int column) const { return model->index(row, column).data().toString(); }

    std::unique_ptr<TimeTable> table;
    std::unique_ptr<QWidget> window;
    TimeTableModel* model = nullptr;
    TimeGrid* grid = nullptr;
    QPushButton* other = nullptr;
};

QTEST_MAIN(TimeGridTest)
#include "time_grid_test.moc"
