#pragma once
// File names as the user is shown them.

#include <string>

namespace marvolt {

// The full path of a file as a file dialog holds it: absolute, without "." and ".." steps,
// symbolic links left as they are. The name as given when the working folder is unknown.
std::string fullPath(const std::string& path);

// The folder a path names a file in: "." for a bare name, "/" for a file at the root.
std::string folderOf(const std::string& path);

}  // namespace marvolt
