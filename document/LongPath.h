// Short (8.3) path names expanded to the long names stored on disk.
#pragma once

#include <string>

namespace moke {

// Rewrites `path` so that every component that exists on disk carries its
// long name; the first prefix that cannot be found is kept as it is.
std::string ExpandLongPath(const std::string& path);

} // namespace moke
