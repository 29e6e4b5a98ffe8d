#include "memo.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>

namespace marvolt {

namespace {

constexpr int kLinePixels = 13;
// How many lines are laid out at one go: a few milliseconds' work.
constexpr qsizetype kLinesAtOnce = 500;

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

void Memo::appendPlainText(const QString& line) { appendPlainLines({line}); }

void Memo::appendPlainLines(const QStringList& lines) {
    if (lines.isEmpty()) return;
    QScrollBar* scroll = verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    for (qsizetype from = 0; from < lines.size(); from += kLinesAtOnce) {
        // The window's other events (painting, timers; no input) between two parts.
        if (from > 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        if (document()->isEmpty())
            cursor.setBlockFormat(lineFormat());
        else
            cursor.insertBlock(lineFormat());
        // Each line a block of that format.
        cursor.insertText(lines.mid(from, kLinesAtOnce).join(QLatin1Char('\n')));
        cursor.endEditBlock();
    }
    if (atEnd) scroll->setValue(scroll->maximum());
}

}  // namespace marvolt
