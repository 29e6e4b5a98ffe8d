#pragma once
// The dialog that asks where the time table is to be saved.

#include <optional>
#include <string>

class QWidget;

namespace marvolt {

// A save dialog "Zapisz tabelę czasów" with the time-file filter; a name typed without an
// extension gets ".txt", an existing file is replaced only after the dialog's question.
// The chosen path (UTF-8), or nothing when cancelled.
std::optional<std::string> chooseTimeFileToSave(QWidget* parent);

}  // namespace marvolt
