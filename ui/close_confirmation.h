#pragma once
// The question asked before the window closes while times typed by hand are not saved.

namespace marvolt {

// "Zamknąć program? Wpisane czasy nie zostały zapisane." with a question icon, window title
// the application title, buttons "Tak" and "Nie"; Enter and Esc answer "Nie", so that a
// key pressed by mistake keeps the typed times. True only for "Tak".
bool confirmCloseWithTypedTimes();

}  // namespace marvolt
