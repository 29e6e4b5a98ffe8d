#include "progress.h"

namespace marvolt {

Progress& Progress::none() {
    static Progress nothing;
    return nothing;
}

}  // namespace marvolt
