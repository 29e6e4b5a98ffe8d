#pragma once
// The one error type of the system: it carries the text the user sees.

#include <stdexcept>
#include <string>

namespace marvolt {

// An error that ends an operation. what() is the user-facing text, UTF-8.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const std::string& text) : std::runtime_error(text) {}
    std::string text() const { return what(); }
};

// The text of the error box: a "." is appended when the last byte sorts after "."
// (so a text ending in ".", ")" or a blank is shown as it is).
std::string errorBoxText(const std::string& text);

}  // namespace marvolt
