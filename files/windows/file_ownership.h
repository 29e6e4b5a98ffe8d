#pragma once
// What a replacing file keeps of the file it replaces on Windows: nothing needs carrying by
// hand, since ReplaceFileW gives the new file the replaced one's attributes, security and
// streams (a new file gets those of its folder).

namespace marvolt {

struct FileOwnership {};

}  // namespace marvolt
