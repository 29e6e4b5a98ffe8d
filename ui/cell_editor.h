#pragma once
// The in-cell editor of the time grid: a line edit made by the item delegate, limited to
// the size of PUNKT in the point-name column, whose keys the grid handles.

#include <QStyledItemDelegate>
#include <QValidator>

namespace marvolt {

class TimeGrid;

// Accepts a text of at most 10 bytes of Windows-1250, the size of a point name.
class PunktValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit CellDelegate(TimeGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // Leaves a text the user has changed as it is.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // The grid writes the editor's text itself (TimeGrid::commitData).
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

  protected:
    // The grid's keys go to the grid; the editor's focus leaving is the grid's business.
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    TimeGrid& grid_;
};

}  // namespace marvolt
