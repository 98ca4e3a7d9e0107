// Short (8.3) path names expanded to the long names stored on disk.
#pragma once

#include <string>

namespace moke {

// Rewrites `path` so that every component that exists on disk carries its
// long name; the first prefix that cannot be found is kept as it is.
std::string ExpandLongPath(const std::string& path);

// The full path of `path` as the system resolves it against the current
// folder (and the drive's current folder for "C:name"); `path` itself when
// the system cannot resolve it.
std::string FullPathName(const std::string& path);

} // namespace moke
