#include "navigator.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>

#include "delete_confirmation.h"
#include "failure.h"

namespace marvolt {

namespace {

const char* const kHints[kNavigatorButtonCount] = {
    "Pierwszy punkt", "Poprzedni punkt", "Następny punkt",   "Ostatni punkt", "Dodaj punkt",
    "Usuń punkt",     "Edytuj punkt",    "Zatwierdź edycję", "Porzuć edycję"};
const char* const kNames[kNavigatorButtonCount] = {"nbFirst", "nbPrior",  "nbNext",
                                                   "nbLast",  "nbInsert", "nbDelete",
                                                   "nbEdit",  "nbPost",   "nbCancel"};

// A bar button; the one that Space presses shows a focus frame while the bar has the focus.
class NavigatorToolButton : public QToolButton {
  public:
    using QToolButton::QToolButton;
    bool keyboardFocus = false;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QToolButton::paintEvent(event);
        if (!keyboardFocus || !parentWidget()->hasFocus()) return;
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
};

}  // namespace

TableNavigator::TableNavigator(TimeTableModel& model, QWidget* parent)
    : QWidget(parent), table_(model.table()), cursor_(model.cursor()) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    for (int i = 0; i < kNavigatorButtonCount; ++i) {
        auto* button = new NavigatorToolButton(this);
        const auto which = static_cast<NavigatorButton>(i);
        button->setObjectName(QString::fromLatin1(kNames[i]));
        button->setIcon(navigatorIcon(which));
        button->setToolTip(QString::fromUtf8(kHints[i]));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, which] { press(which); });
        buttons_[i] = button;
    }
    static_cast<NavigatorToolButton*>(buttons_[0])->keyboardFocus = true;
    connect(&model, &TimeTableModel::dataSetChanged, this, &TableNavigator::updateButtons);
    updateButtons();
}

QToolButton* TableNavigator::button(NavigatorButton which) const {
    return buttons_[static_cast<int>(which)];
}

void TableNavigator::setEditorHooks(std::function<bool()> commit, std::function<void()> discard) {
    commit_ = std::move(commit);
    discard_ = std::move(discard);
}

void TableNavigator::resizeEvent(QResizeEvent*) {
    // The width shared out evenly, the pixels left over going to the first buttons.
    const int share = width() / kNavigatorButtonCount;
    const int extra = width() % kNavigatorButtonCount;
    int left = 0;
    for (int i = 0; i < kNavigatorButtonCount; ++i) {
        const int buttonWidth = share + (i < extra ? 1 : 0);
        buttons_[i]->setGeometry(left, 0, buttonWidth, height());
        left += buttonWidth;
    }
}

void TableNavigator::updateButtons() {
    const bool open = table_.state() != TableState::Closed;
    const bool changing = table_.editingOrInserting();
    const auto enable = [this](NavigatorButton which, bool enabled) {
        button(which)->setEnabled(enabled);
    };
    enable(NavigatorButton::First, open && !cursor_.bof());
    enable(NavigatorButton::Prior, open && !cursor_.bof());
    enable(NavigatorButton::Next, open && !cursor_.eof());
    enable(NavigatorButton::Last, open && !cursor_.eof());
    enable(NavigatorButton::Insert, open);
    enable(NavigatorButton::Delete, open && table_.rowCount() > 0);
    enable(NavigatorButton::Edit, open && !changing);
    enable(NavigatorButton::Post, open && changing);
    enable(NavigatorButton::Cancel, open && changing);
}

void TableNavigator::press(NavigatorButton which) {
    if (which == NavigatorButton::Delete && !confirmDelete()) return;
    if (which == NavigatorButton::Delete || which == NavigatorButton::Cancel)
        discard_();
    else if (!commit_())
        return;
    try {
        switch (which) {
            case NavigatorButton::First:
                cursor_.first();
                break;
            case NavigatorButton::Prior:
                cursor_.prior();
                break;
            case NavigatorButton::Next:
                cursor_.next();
                break;
            case NavigatorButton::Last:
                cursor_.last();
                break;
            case NavigatorButton::Insert:
                cursor_.insert();
                break;
            case NavigatorButton::Delete:
                cursor_.remove();
                break;
            case NavigatorButton::Edit:
                cursor_.edit();
                break;
            case NavigatorButton::Post:
                table_.post();
                break;
            case NavigatorButton::Cancel:
                table_.cancel();
                break;
        }
    } catch (const Failure& failure) {
        emit failed(QString::fromStdString(failure.text()));
    }
}

void TableNavigator::keyPressEvent(QKeyEvent* event) {
    const auto moveFocus = [this](int step) {
        static_cast<NavigatorToolButton*>(buttons_[focused_])->keyboardFocus = false;
        buttons_[focused_]->update();
        focused_ = (focused_ + step + kNavigatorButtonCount) % kNavigatorButtonCount;
        static_cast<NavigatorToolButton*>(buttons_[focused_])->keyboardFocus = true;
        buttons_[focused_]->update();
    };
    switch (event->key()) {
        case Qt::Key_Left:
            moveFocus(-1);
            break;
        case Qt::Key_Right:
            moveFocus(1);
            break;
        case Qt::Key_Space:
            if (buttons_[focused_]->isEnabled()) buttons_[focused_]->click();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TableNavigator::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    buttons_[focused_]->update();
}

void TableNavigator::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    buttons_[focused_]->update();
}

}  // namespace marvolt
