#include "cell_editor.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "text_encoding.h"
#include "time_grid.h"
#include "time_table.h"

namespace marvolt {

QValidator::State PunktValidator::validate(QString& input, int&) const {
    return utf8ToCp1250(input.toStdString()).size() <= kPunktSize ? Acceptable : Invalid;
}

CellDelegate::CellDelegate(TimeGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (index.column() == static_cast<int>(Field::Punkt))
        editor->setValidator(new PunktValidator(editor));
    else
        editor->setAlignment(Qt::AlignCenter);
    grid_.editorOpened(editor, index);
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (lineEdit && lineEdit->isModified()) return;
    QStyledItemDelegate::setEditorData(editor, index);
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyPress) return grid_.editorKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace marvolt
