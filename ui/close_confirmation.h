#pragma once
// The questions asked before the typed times could be lost: closing the window while they
// are not saved, emptying the table.

namespace marvolt {

// "Zamknąć program? Wpisane czasy nie zostały zapisane." with a question icon, window title
// the application title, buttons "Tak" and "Nie"; Enter and Esc answer "Nie", so that a
// key pressed by mistake keeps the typed times. True only for "Tak".
bool confirmCloseWithTypedTimes();

// "Usunąć wszystkie punkty z tabeli?", asked as the close question is.
bool confirmRemoveAllPoints();

}  // namespace marvolt
