#include "temporary_file.h"

#include <cstring>

#include "file_path.h"

namespace marvolt {

namespace {

// The operating system's text for an error, without trailing blanks or a final point.
std::string systemErrorText(int errorNumber) {
    std::string text = std::strerror(errorNumber);
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    return text;
}

}  // namespace

Failure streamWriteError() { return Failure("Stream write error"); }

Failure cannotCreate(const std::string& shownName, int errorNumber) {
    return Failure("Cannot create file \"" + fullPath(shownName) + "\". " +
                   systemErrorText(errorNumber));
}

TemporaryFile::TemporaryFile(const std::string& target, const std::string& shownName)
    : target_(target), shownName_(shownName) {
    create(nullptr);
}

TemporaryFile::TemporaryFile(const std::string& target, const std::string& shownName,
                             const std::string& secondNameOf)
    : target_(target), shownName_(shownName) {
    create(&secondNameOf);
}

}  // namespace marvolt
