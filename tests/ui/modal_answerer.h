#pragma once
// Answers the modal message boxes and file dialogs that the window opens while a test drives it,
// and records what each one showed.

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <vector>

namespace marvolt::testing {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;  // their texts, in the order of the box
    bool centredOnScreen;
};

class ModalAnswerer : public QObject {
    Q_OBJECT
  public:
    ModalAnswerer();

    // Texts of the buttons to click in the next boxes, in order; when none is left the
    // box's escape button (or else its default button) is clicked.
    std::deque<QString> clicks;
    std::vector<SeenBox> seen;
    // Paths to choose in the next file dialogs, in order, and the titles of the dialogs
    // answered; with none left a file dialog is left to its test.
    std::deque<QString> fileNames;
    QStringList dialogTitles;

    // The texts of the boxes seen, in order.
    QStringList texts() const;

  private:
    void answer();
    QTimer timer_;
};

}  // namespace marvolt::testing
