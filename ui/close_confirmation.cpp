#include "close_confirmation.h"

#include <QPushButton>

#include "application_title.h"
#include "message_box.h"

namespace marvolt {

namespace {

// A question with "Tak" and "Nie", "Nie" the default and the answer to Esc.
bool askYesNo(const char* question) {
    ScreenCentredBox box(QMessageBox::Question, applicationTitle(), QString::fromUtf8(question));
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

bool confirmCloseWithTypedTimes() {
    return askYesNo("Zamknąć program? Wpisane czasy nie zostały zapisane.");
}

bool confirmRemoveAllPoints() { return askYesNo("Usunąć wszystkie punkty z tabeli?"); }

}  // namespace marvolt
