#pragma once
// The table view of the time table (DBgrdCzas): rows in STOP order, the indicator column
// (its vertical header), in-cell editing through the item delegate, and its keys (Enter,
// Tab, arrows, Insert, Ctrl+Delete, Esc, F2) acting on the table. The grid's current row is always
// the row of the model's cursor.

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <functional>

#include "time_table_model.h"

class QLineEdit;

namespace marvolt {

class TimeGrid : public QTableView {
    Q_OBJECT
  public:
    TimeGrid(TimeTableModel& model, QWidget* parent);

    // The selected column (field index), -1 when there is no current cell.
    int selectedIndex() const;
    // Selects a column of the current row; an open editor's text goes into its field first.
    // False when the field refused the text (the editor then stays open with it).
    bool setSelectedIndex(int column);
    // Takes the text typed into an open editor into its field and closes the editor; false
    // when the field refused it (the editor stays open).
    bool commitEditor();
    // Closes an open editor, throwing its text away.
    void discardEditor();
    bool editorOpen() const { return !editor_.isNull(); }
    // True while the open editor holds text typed but not yet taken into its field.
    bool typedIntoEditor() const;
    // The grid colour: the background of the editable columns and of the empty area.
    void setGridColor(const QColor& color);

    // Told by the cell delegate.
    void editorOpened(QLineEdit* editor, const QModelIndex& index);
    // A key pressed in the open editor; true when the grid took it.
    bool editorKey(QKeyEvent* event);

  signals:
    // Every key pressed in the grid or its editor, before the grid's own handling. A
    // receiver that accepts the event stops that handling (it ended with an error).
    void keyDown(QKeyEvent* event);
    // An action of the grid failed; `text` is the failure's text.
    void failed(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // An empty grid that has the focus frames the cell that typing fills (the first row's
    // Punkt), as a grid with rows frames its current cell.
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    bool handleKey(QKeyEvent* event);
    void enterKey(int columnBefore, bool editorWasOpen);
    void tabKey(bool forward);
    void nextRow();
    void priorRow();
    void escapeKey();
    void deleteKey();
    void openEditorHere();
    bool untouchedNewRecord() const;
    bool lastRow() const;
    void startEditing();
    void followTable();
    void focusChanged(QWidget* old, QWidget* now);
    // Runs a table action; a Failure is reported by failed().
    bool run(const std::function<void()>& action);

    TimeTableModel& model_;
    TimeTable& table_;
    TableCursor& cursor_;
    QPointer<QLineEdit> editor_;
    QPersistentModelIndex editorIndex_;
    bool commitFailed_ = false;
    bool following_ = false;  // the current cell is being set to the table's record
};

}  // namespace marvolt
