#pragma once
// The named colours of the window and of its dialogs.

#include <QColor>

namespace marvolt {

inline const QColor kWindowRed(255, 0, 0);
inline const QColor kWindowYellow(255, 255, 0);
inline const QColor kWindowLime(0, 255, 0);
inline const QColor kWindowMaroon(128, 0, 0);

}  // namespace marvolt
