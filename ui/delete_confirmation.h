#pragma once
// The confirmation that the grid (Ctrl+Delete) and the navigator ask before deleting a point.

namespace marvolt {

// "Delete record?" with a question icon, window title "Potwierdź", buttons "OK" and "Anuluj";
// true only for OK.
bool confirmDelete();

}  // namespace marvolt
