#include "time_table_model.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QSignalSpy>
#include <QtTest>

#include "cell_text.h"

using marvolt::cellText;
using marvolt::Field;
using marvolt::TableState;
using marvolt::TimeTable;
using marvolt::TimeTableModel;

namespace {

constexpr int kPunkt = static_cast<int>(Field::Punkt);
constexpr int kStop = static_cast<int>(Field::Stop);
constexpr int kGo = static_cast<int>(Field::Go);
constexpr int kStop2 = static_cast<int>(Field::Stop2);

void addPoint(TimeTable& table, const char* name, const char* stop) {
    table.insert(table.recordCount());
    table.setText(Field::Punkt, name);
    table.setText(Field::Stop, stop);
    table.post();
}

QStringList namesInOrder(const TimeTableModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, kPunkt).data().toString();
    return names;
}

}  // namespace

class TimeTableModelTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        table = std::make_unique<TimeTable>();
        model = std::make_unique<TimeTableModel>(*table);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        table->open();
        addPoint(*table, "A", "10:00:00");
        addPoint(*table, "B", "11:00:00");
        model->cursor().first();
    }
    void cleanup() {
        tester.reset();
        model.reset();
        table.reset();
    }

    // Insert at the top, then a STOP later than every other: the row moves to the end,
    // and the current row stays at the old position.
    void insertAndPostMovesTheRowDown() {
        QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy moved(model.get(), &QAbstractItemModel::rowsMoved);
        QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
        model->cursor().insert();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][1].toInt(), 0);
        QCOMPARE(namesInOrder(*model), QStringList({"", "A", "B"}));

        table->setText(Field::Punkt, "C");
        table->setText(Field::Stop, "12:00:00");
        table->post();
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][1].toInt(), 0);  // source row
        QCOMPARE(moved[0][4].toInt(), 3);  // Qt's destination: in front of the row after 2
        QCOMPARE(removed.size(), 0);
        QCOMPARE(namesInOrder(*model), QStringList({"A", "B", "C"}));
        QCOMPARE(model->cursor().currentRow(), 0);
    }

    void editMovesTheRowUp() {
        QSignalSpy moved(model.get(), &QAbstractItemModel::rowsMoved);
        model->cursor().last();
        model->cursor().edit();
        table->setText(Field::Stop, "09:00:00");
        table->post();
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][1].toInt(), 1);
        QCOMPARE(moved[0][4].toInt(), 0);
        QCOMPARE(namesInOrder(*model), QStringList({"B", "A"}));
    }

    void postInPlaceAndCancelledInsert() {
        QSignalSpy moved(model.get(), &QAbstractItemModel::rowsMoved);
        QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        model->cursor().edit();
        table->setText(Field::Go, "10:05:00");
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model->index(0, 0));
        QCOMPARE(changed[0][1].toModelIndex(), model->index(0, 4));
        table->post();
        QCOMPARE(moved.size(), 0);

        model->cursor().append();
        table->cancel();
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0][1].toInt(), 2);
        QCOMPARE(namesInOrder(*model), QStringList({"A", "B"}));
        QCOMPARE(model->index(0, kGo).data().toString(), QString("10:05:00"));
    }

    void cellsHeadersAndFlags() {
        QCOMPARE(model->columnCount(), 5);
        QStringList titles;
        for (int column = 0; column < 5; ++column) {
            titles << model->headerData(column, Qt::Horizontal).toString();
            QCOMPARE(model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
                         .value<Qt::Alignment>(),
                     Qt::AlignCenter);
            const bool gmt = column >= kStop2;
            QCOMPARE(bool(model->index(0, column).flags() & Qt::ItemIsEditable), !gmt);
            const QVariant background = model->index(0, column).data(Qt::BackgroundRole);
            QCOMPARE(background.isValid(), gmt);
            if (gmt) QCOMPARE(background.value<QColor>(), QColor(255, 255, 0));
            QCOMPARE(model->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                     column == kPunkt ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        }
        QCOMPARE(titles,
                 QStringList({"Punkt", "Stop (zeg.)", "Go (zeg.)", "Stop (GMT)", "Go (GMT)"}));
        QCOMPARE(model->index(1, kStop).data().toString(), QString("11:00:00"));
        QCOMPARE(model->index(1, kGo).data().toString(), QString());
    }

    // The indicator of the current row follows the state: ▶, I while editing, * inserting.
    void indicatorMarksCurrentRecord() {
        QSignalSpy headers(model.get(), &QAbstractItemModel::headerDataChanged);
        const auto mark = [this](int row) {
            return model->headerData(row, Qt::Vertical).toString();
        };
        model->cursor().next();
        QCOMPARE(mark(0), QString());
        QCOMPARE(mark(1), QString("▶"));
        model->cursor().edit();
        QCOMPARE(mark(1), QString("I"));
        table->cancel();
        model->cursor().insert();
        QCOMPARE(mark(1), QString("*"));
        QCOMPARE(mark(2), QString());
        QVERIFY(headers.size() >= 4);
    }

    // A point name is shown decoded from Windows-1250 and stored encoded, cut to 10 bytes.
    void pointNamesAreWindows1250() {
        QVERIFY(model->setData(model->index(0, kPunkt), QString("Żółw-ęą-ćń-XYZ")));
        QCOMPARE(table->state(), TableState::Editing);
        QCOMPARE(cellText(*table, model->cursor().currentRow(), Field::Punkt),
                 std::string("\xAF\xF3\xB3w-\xEA\xB9-\xE6\xF1"));
        QCOMPARE(model->index(0, kPunkt).data().toString(), QString("Żółw-ęą-ćń"));
    }

    // A text the time field refuses: false, the failure's text, the record still in editing.
    void refusedTimeText() {
        QSignalSpy failed(model.get(), &TimeTableModel::writeFailed);
        QVERIFY(!model->setData(model->index(1, kStop), QString("25:00")));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].toString(), QString("'25:00' is not a valid time"));
        QCOMPARE(table->state(), TableState::Editing);
        QCOMPARE(model->cursor().currentRow(), 1);
        QCOMPARE(model->index(1, kStop).data().toString(), QString("11:00:00"));
        QVERIFY(!model->setData(model->index(1, kStop2), QString("12:00:00")));
    }

  private:
    std::unique_ptr<TimeTable> table;
    std::unique_ptr<TimeTableModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QTEST_GUILESS_MAIN(TimeTableModelTest)
#include "cell_text.h"
#include "time_table_model_test.moc"
