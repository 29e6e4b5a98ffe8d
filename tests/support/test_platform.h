#pragma once
// What the tests ask of the system in their own way on each platform.

#include <string>

namespace marvolt::testing {

// Sets a variable of the test's own environment.
void setVariable(const std::string& name, const std::string& value);

}  // namespace marvolt::testing
