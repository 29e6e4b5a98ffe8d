#pragma once
// The navigator bar of the time table (DBnvgCzas): nine buttons that move through the
// records, insert, delete, edit, post and cancel, each enabled by the table's state.

#include <QWidget>
#include <array>
#include <functional>

#include "navigator_icons.h"
#include "time_table_model.h"

class QToolButton;

namespace marvolt {

class TableNavigator : public QWidget {
    Q_OBJECT
  public:
    TableNavigator(TimeTableModel& model, QWidget* parent);

    QToolButton* button(NavigatorButton which) const;
    // What a button does with an editor open in the grid: `commit` takes its text into the
    // field (false when refused: the action is not run), `discard` throws it away.
    void setEditorHooks(std::function<bool()> commit, std::function<void()> discard);

  signals:
    // An action on the table failed; `text` is the failure's text.
    void failed(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void updateButtons();
    void press(NavigatorButton which);

    TimeTable& table_;
    TableCursor& cursor_;
    std::array<QToolButton*, kNavigatorButtonCount> buttons_{};
    std::function<bool()> commit_ = [] { return true; };
    std::function<void()> discard_ = [] {};
    int focused_ = 0;  // the button that Space presses when the bar has the focus
};

}  // namespace marvolt
