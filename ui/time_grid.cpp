#include "time_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "cell_editor.h"
#include "delete_confirmation.h"
#include "failure.h"
#include "indicator_header.h"

namespace marvolt {

namespace {

constexpr int kColumnWidths[kFieldCount] = {60, 70, 70, 70, 70};
constexpr int kIndicatorWidth = 11;
constexpr int kRowHeight = 16;
constexpr int kTitleHeight = 17;
// PUNKT, STOP and GO are typed; the GMT columns are no tab stops.
constexpr int kLastEditableColumn = static_cast<int>(Field::Go);

}  // namespace

TimeGrid::TimeGrid(TimeTableModel& model, QWidget* parent)
    : QTableView(parent), model_(model), table_(model.table()), cursor_(model.cursor()) {
    setVerticalHeader(new IndicatorHeader(this));
    setModel(&model_);
    setItemDelegate(new CellDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);

    QHeaderView* titles = horizontalHeader();
    titles->setHighlightSections(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setFixedHeight(kTitleHeight);
    for (int column = 0; column < kFieldCount; ++column)
        setColumnWidth(column, kColumnWidths[column]);

    QHeaderView* indicator = verticalHeader();
    indicator->setFixedWidth(kIndicatorWidth);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setMinimumSectionSize(1);
    indicator->setDefaultSectionSize(kRowHeight);

    connect(&model_, &TimeTableModel::dataSetChanged, this, &TimeGrid::followTable);
    connect(qApp, &QApplication::focusChanged, this, &TimeGrid::focusChanged);
}

int TimeGrid::selectedIndex() const { return currentIndex().column(); }

bool TimeGrid::setSelectedIndex(int column) {
    if (!commitEditor()) return false;
    const int row = currentIndex().isValid() ? currentIndex().row() : cursor_.currentRow();
    if (row >= 0) setCurrentIndex(model_.index(row, column));
    return true;
}

bool TimeGrid::commitEditor() {
    if (!editor_) return true;
    commitData(editor_);
    if (commitFailed_) {
        editor_->setFocus();
        return false;
    }
    closeEditor(editor_, QAbstractItemDelegate::NoHint);
    return true;
}

void TimeGrid::discardEditor() {
    if (!editor_) return;
    commitFailed_ = false;
    closeEditor(editor_, QAbstractItemDelegate::NoHint);
}

bool TimeGrid::typedIntoEditor() const { return editor_ && editor_->isModified(); }

void TimeGrid::setGridColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

void TimeGrid::editorOpened(QLineEdit* editor, const QModelIndex& index) {
    editor_ = editor;
    editorIndex_ = index;
    commitFailed_ = false;
    connect(editor, &QLineEdit::textEdited, this, &TimeGrid::startEditing);
}

bool TimeGrid::editorKey(QKeyEvent* event) { return handleKey(event); }

void TimeGrid::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QTableView::keyPressEvent(event);
}

void TimeGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!hasFocus() || model_.rowCount() > 0) return;
    QPainter painter(viewport());
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.state |= QStyle::State_KeyboardFocusChange;  // also when the focus came by mouse
    option.backgroundColor = palette().color(QPalette::Base);
    option.rect = QRect(columnViewportPosition(0), 0, columnWidth(0), kRowHeight);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

bool TimeGrid::handleKey(QKeyEvent* event) {
    const int columnBefore = selectedIndex();
    const bool editorWasOpen = editorOpen();
    event->ignore();
    emit keyDown(event);
    if (event->isAccepted()) return true;
    event->accept();

    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            enterKey(columnBefore, editorWasOpen);
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool forward = event->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
            if (modifiers & Qt::ControlModifier)
                QWidget::focusNextPrevChild(forward);  // Ctrl+Tab leaves the grid
            else
                tabKey(forward);
            return true;
        }
        case Qt::Key_Down:
            if (commitEditor()) nextRow();
            return true;
        case Qt::Key_Up:
            if (commitEditor()) priorRow();
            return true;
        case Qt::Key_Escape:
            escapeKey();
            return true;
        case Qt::Key_Insert:
            if (modifiers != Qt::NoModifier) break;  // Shift+Insert pastes in the editor
            // The new record is typed from its name on.
            if (commitEditor() && run([this] { cursor_.insert(); }))
                setSelectedIndex(static_cast<int>(Field::Punkt));
            return true;
        case Qt::Key_Delete:
            if (!(modifiers & Qt::ControlModifier)) break;
            deleteKey();
            return true;
        default:
            // Typing into the empty table starts its first record, as an edit of an empty
            // table does; the key then goes into the new record's editor.
            if (!editorOpen() && table_.state() == TableState::Browsing && table_.rowCount() == 0 &&
                !(modifiers & (Qt::ControlModifier | Qt::AltModifier)) &&
                !event->text().isEmpty() && event->text().front().isPrint())
                run([this] { cursor_.edit(); });
            break;
    }
    event->ignore();
    return false;
}

void TimeGrid::enterKey(int columnBefore, bool editorWasOpen) {
    // The grid's own Enter: after the column moved, the editor opens on the new column;
    // otherwise it toggles, an open editor's text going into its field first.
    if (selectedIndex() != columnBefore || !editorWasOpen)
        openEditorHere();
    else
        commitEditor();
}

void TimeGrid::tabKey(bool forward) {
    if (!commitEditor()) return;
    const int column = std::max(0, selectedIndex());
    if (forward) {
        if (column < kLastEditableColumn) {
            setSelectedIndex(column + 1);
            return;
        }
        nextRow();
        setSelectedIndex(0);
        return;
    }
    if (column > 0) {
        setSelectedIndex(std::min(column - 1, kLastEditableColumn));
        return;
    }
    priorRow();
    setSelectedIndex(kLastEditableColumn);
}

void TimeGrid::nextRow() {
    if (untouchedNewRecord()) {
        // Past an untouched new record: it is dropped, or kept when it is the last row.
        if (!lastRow()) run([this] { table_.cancel(); });
        return;
    }
    run([this] {
        cursor_.next();
        if (cursor_.eof()) cursor_.append();  // Down on the last record appends
    });
}

void TimeGrid::priorRow() {
    if (untouchedNewRecord() && lastRow()) {
        run([this] { table_.cancel(); });
        return;
    }
    run([this] { cursor_.prior(); });
}

void TimeGrid::escapeKey() {
    if (editor_ && editor_->isModified()) {
        discardEditor();  // first Esc: the typed text only
        return;
    }
    discardEditor();
    if (table_.editingOrInserting()) run([this] { table_.cancel(); });
}

void TimeGrid::deleteKey() {
    if (table_.state() == TableState::Closed || table_.rowCount() == 0) return;
    if (!confirmDelete()) return;
    discardEditor();
    run([this] { cursor_.remove(); });
}

void TimeGrid::openEditorHere() {
    if (currentIndex().isValid()) edit(currentIndex());
}

bool TimeGrid::untouchedNewRecord() const {
    return table_.state() == TableState::Inserting && !table_.modified() &&
           !(editor_ && editor_->isModified());
}

bool TimeGrid::lastRow() const { return cursor_.currentRow() == table_.rowCount() - 1; }

void TimeGrid::startEditing() {
    // Typing into a cell puts the record into editing at once (the grid turns pink).
    if (table_.state() == TableState::Browsing) run([this] { cursor_.edit(); });
}

void TimeGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);  // commits and closes an open editor
    if (following_ || model_.rowsChanging() || !current.isValid()) return;
    if (commitFailed_) {
        followTable();  // the editor's text was refused: the record stays where it is
        return;
    }
    if (current.row() == cursor_.currentRow()) return;
    // Leaving a record finishes it; the table lands on the record that was clicked even when
    // the finished one moves or vanishes.
    const int row = current.row();
    run([this, row] { cursor_.moveTo(row); });
    followTable();
}

void TimeGrid::commitData(QWidget* editor) {
    commitFailed_ = false;
    auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (!lineEdit || !lineEdit->isModified() || !editorIndex_.isValid()) return;
    if (!model_.setData(editorIndex_, lineEdit->text())) {
        commitFailed_ = true;
        return;
    }
    lineEdit->setModified(false);
}

void TimeGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint) {
    if (commitFailed_ && editor == editor_) {
        editor->setFocus();  // a refused text stays to be corrected or thrown away
        return;
    }
    if (editor == editor_) {
        editor_.clear();
        editorIndex_ = QPersistentModelIndex();
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TimeGrid::followTable() {
    const int row = table_.state() == TableState::Closed ? -1 : cursor_.currentRow();
    if (row < 0 || row >= model_.rowCount()) return;
    const QModelIndex target = model_.index(row, std::max(0, selectedIndex()));
    if (target == currentIndex()) return;
    following_ = true;
    setCurrentIndex(target);
    following_ = false;
}

void TimeGrid::focusChanged(QWidget* old, QWidget* now) {
    const auto inside = [this](const QWidget* widget) {
        return widget && (widget == this || isAncestorOf(widget));
    };
    // Only a move to another control of the window counts (not a message box).
    if (!inside(old) || !now || inside(now) || now->window() != window()) return;
    if (untouchedNewRecord()) {
        discardEditor();
        run([this] { table_.cancel(); });
        return;
    }
    commitEditor();
}

bool TimeGrid::run(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Failure& failure) {
        emit failed(QString::fromStdString(failure.text()));
        return false;
    }
}

}  // namespace marvolt
