#pragma once
// The grid's model: a thin adapter over the time table. The table says where each change
// landed; the model turns that into Qt's row signals. It holds the cursor that the grid and
// the navigator move, and every change of the table or move of the cursor is passed on as
// dataSetChanged() (the window's dtsCzas, which the grid and the navigator share).

#include <QAbstractTableModel>
#include <vector>

#include "table_cursor.h"
#include "time_table.h"

namespace marvolt {

class TimeTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TimeTableModel(TimeTable& table, QObject* parent = nullptr);
    ~TimeTableModel() override;

    TimeTable& table() const { return table_; }
    // Where the grid and the navigator stand.
    TableCursor& cursor() { return cursor_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes the text typed into a cell into the field of its record: the cursor moves to
    // its row and starts an edit when the table is browsing; the record is marked as typed
    // by hand. A text the field refuses gives writeFailed and false.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // True while the table inserts, removes or moves a row (between Qt's begin and end
    // calls): a view's current index then shifts on its own, not by the user.
    bool rowsChanging() const { return rowsChanging_; }

    // Marks the STOP (GMT) and GO (GMT) cells whose epoch the last analysis did not find:
    // red, with a tool tip. A mark goes with the next analysis or an edit of its record.
    struct Miss {
        int row;
        bool stop;
        bool go;
    };
    void showMisses(const std::vector<Miss>& misses);

    // The indicator of a row: "▶" current, "I" being edited, "*" being inserted, or empty.
    static QString currentMark(TableState state);

  signals:
    // Any change of the table or move of the cursor: open, move, field value, edit or insert
    // started, post, cancel, delete.
    void dataSetChanged();
    // A field refused a text; `text` is the failure's text.
    void writeFailed(const QString& text);

  private:
    // Follows the table (and the cursor's moves) and calls the model's begin/end row
    // functions.
    class Link : public TableObserver {
      public:
        explicit Link(TimeTableModel& model) : model_(model) {}
        void rowAboutToBeInserted(int row) override;
        void rowInserted(int row) override;
        void rowAboutToBeRemoved(int row) override;
        void rowRemoved(int row) override;
        void rowAboutToBeMoved(int from, int to) override;
        void rowMoved(int from, int to) override;
        void rowChanged(int row) override;
        void dataChanged() override;

      private:
        TimeTableModel& model_;
    };

    bool missed(const QModelIndex& index) const;

    TimeTable& table_;
    // Before the link: it follows each change of the table before the model passes it on.
    TableCursor cursor_{table_};
    Link link_{*this};
    bool moving_ = false;
    bool rowsChanging_ = false;  // a begun row move that Qt took (a move onto itself is none)
    // Per row, the GMT cells without an epoch (kStopMissed, kGoMissed); rows past its end
    // have none.
    std::vector<unsigned char> misses_;
};

}  // namespace marvolt
