#include "close_confirmation.h"

#include <QPushButton>

#include "application_title.h"
#include "message_box.h"

namespace marvolt {

bool confirmCloseWithTypedTimes() {
    ScreenCentredBox box(QMessageBox::Question, applicationTitle(),
                         QString::fromUtf8("Zamknąć program? Wpisane czasy nie zostały zapisane."));
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace marvolt
