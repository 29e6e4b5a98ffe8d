#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QScreen>

namespace marvolt::testing {

ModalAnswerer::ModalAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::answer);
    timer_.start(5);
}

QStringList ModalAnswerer::texts() const {
    QStringList result;
    for (const SeenBox& box : seen) result << box.text;
    return result;
}

void ModalAnswerer::answer() {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        if (!dialog->isVisible() || fileNames.empty()) return;
        dialogTitles << dialog->windowTitle();
        dialog->selectFile(fileNames.front());
        fileNames.pop_front();
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name
        return;
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    SeenBox entry{box->windowTitle(), box->text(), box->icon(), {}, false};
    for (QAbstractButton* button : box->buttons()) entry.buttons << button->text();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    entry.centredOnScreen =
        (box->frameGeometry().center() - screen.center()).manhattanLength() <= 2;
    seen.push_back(entry);

    QAbstractButton* target = box->escapeButton();
    if (!target) target = box->defaultButton();
    if (!clicks.empty()) {
        for (QAbstractButton* button : box->buttons())
            if (button->text() == clicks.front()) target = button;
        clicks.pop_front();
    }
    if (target)
        target->click();
    else
        box->reject();
}

}  // namespace marvolt::testing
