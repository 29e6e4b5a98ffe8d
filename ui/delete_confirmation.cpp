#include "delete_confirmation.h"

#include <QPushButton>

#include "message_box.h"

namespace marvolt {

bool confirmDelete() {
    ScreenCentredBox box(QMessageBox::Question, QStringLiteral("Potwierdź"),
                         QStringLiteral("Delete record?"));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace marvolt
