#include "labelled_line.h"

namespace marvolt {

bool hasLabel(std::string_view line, std::string_view label) {
    return line.size() > kLabelPosition && line.substr(kLabelPosition, label.size()) == label;
}

}  // namespace marvolt
