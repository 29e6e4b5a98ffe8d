#pragma once
// The window's font: Tahoma at 11 pixels.

#include <QFont>

namespace marvolt {

// Tahoma 11 px, loaded from Wine's free Tahoma when it is installed (fontconfig does not
// list that folder); a close sans-serif otherwise.
QFont windowFont();

}  // namespace marvolt
