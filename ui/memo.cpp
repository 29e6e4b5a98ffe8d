#include "memo.h"

#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>

namespace marvolt {

namespace {

constexpr int kLinePixels = 13;

QTextBlockFormat lineFormat() {
    QTextBlockFormat format;
    format.setLineHeight(kLinePixels, QTextBlockFormat::FixedHeight);
    return format;
}

}  // namespace

Memo::Memo(const QString& lines, QWidget* parent) : QTextEdit(parent) {
    document()->setDocumentMargin(2);
    setPlainText(lines);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(lineFormat());
}

void Memo::appendPlainText(const QString& line) {
    QScrollBar* scroll = verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (document()->isEmpty())
        cursor.setBlockFormat(lineFormat());
    else
        cursor.insertBlock(lineFormat());
    cursor.insertText(line);
    if (atEnd) scroll->setValue(scroll->maximum());
}

}  // namespace marvolt
