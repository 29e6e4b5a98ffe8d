#include "file_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "temporary_file.h"

namespace marvolt {

namespace {

// An attribute that this file system or this user cannot have: left out.
bool leftOut(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == EACCES;
}

// The list of attribute names of `fd` (names ended by NUL bytes); empty where it has none.
std::vector<char> attributeNames(int fd, const std::string& shownName) {
    std::vector<char> names;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0) {
            if (size < 0 && !leftOut(errno)) throw cannotCreate(shownName, errno);
            return {};
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return names;
        }
        // The list grew in between: ask again.
        if (errno != ERANGE) {
            if (leftOut(errno)) return {};
            throw cannotCreate(shownName, errno);
        }
    }
}

// The value of one attribute; false when it went away or cannot be read by this user.
bool attributeValue(int fd, const char* name, std::vector<char>& value,
                    const std::string& shownName) {
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0) {
            if (errno == ENODATA || leftOut(errno)) return false;
            throw cannotCreate(shownName, errno);
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::fgetxattr(fd, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            if (errno == ENODATA || leftOut(errno)) return false;
            throw cannotCreate(shownName, errno);
        }
    }
}

}  // namespace

void copyExtendedAttributes(int from, int to, const std::string& shownName) {
    const std::vector<char> names = attributeNames(from, shownName);
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::string_view(name).size() + 1;
        if (!attributeValue(from, name, value, shownName)) continue;
        if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0 && !leftOut(errno))
            throw cannotCreate(shownName, errno);
    }
}

}  // namespace marvolt
