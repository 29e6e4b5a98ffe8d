#pragma once
// The window's side of the Services: the shared open dialog openTXT, the message window,
// the error box and the busy cursor.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "services.h"

class QFileDialog;
class QWidget;

namespace marvolt {

// Qt name filters of a "Name|pattern|Name|pattern" filter: "Name (pattern)". The
// everything-pattern "*.*" becomes "*" so that it also lists names without a dot; patterns
// separated by ";" are separated by blanks.
QStringList qtNameFilters(const std::string& filter);

class WindowServices : public Services {
  public:
    // Shows the file dialog and returns its result code (QDialog::Accepted or Rejected).
    using DialogRunner = std::function<int(QFileDialog&)>;

    explicit WindowServices(QWidget* window);

    // Shows the shared open-file dialog openTXT with the filter (its file name cleared
    // first), in the folder a file of `kind` was last chosen in (remembered_folders.h); the
    // chosen file, or nothing when cancelled.
    std::optional<std::string> chooseFile(const std::string& filter,
                                          const QString& kind = QStringLiteral("otherFiles"));
    void message(const std::string& text) override;
    // The box gets a second button, "Pomiń pozostałe"; OK stays the default and the answer
    // to Esc.
    bool seriesMessage(const std::string& text) override;
    void errorBox(const std::string& text) override;
    void busyCursor() override;
    void normalCursor() override;

    // Replaces the dialog's exec(), so that a test answers it.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

  private:
    QWidget* window_;
    DialogRunner runDialog_;
    int filterPosition_ = 0;  // the entry chosen last; the next opening starts on it
    bool busy_ = false;
};

}  // namespace marvolt
