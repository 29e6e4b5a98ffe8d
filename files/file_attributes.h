#pragma once
// The extended attributes of a survey file (access control lists, user attributes) carried
// over to the file that replaces it or backs it up.

#include <string>

namespace marvolt {

// Gives the open file `to` every extended attribute of the open file `from`: the access
// control list (system.posix_acl_access) and user.* attributes among them. An attribute the
// file system does not keep, or that needs a privilege the user lacks (security.*,
// trusted.*), is left out without an error; any other failure ends it with "Cannot create
// file "<full path of shownName>". <reason>".
void copyExtendedAttributes(int from, int to, const std::string& shownName);

}  // namespace marvolt
