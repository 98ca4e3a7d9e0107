// Parts of Windows paths. "\" and ":" count only as characters of their own:
// 0x5C as the second byte of a double-byte character ("表" is 95 5C) does not
// split a path.
#pragma once

#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// The part after the last "\" or ":"; the whole path when there is none.
std::string_view NamePart(std::string_view path, const LeadBytes& lead = SystemLeadBytes());

// The part up to and including the last "\" or ":"; empty when there is none.
std::string_view FolderPart(std::string_view path, const LeadBytes& lead = SystemLeadBytes());

// The directory of a path for long-name expansion: up to the last "\" or ":",
// that "\" included only where it follows "\" or ":" or stands first (a root
// such as "C:\" or "\" keeps it, "C:\dir\a" gives "C:\dir"); empty when the
// path has no delimiter.
std::string DirectoryPart(std::string_view path, const LeadBytes& lead = SystemLeadBytes());

// The phrase list file beside the executable: the folder of `modulePath`
// followed by "MokeList.txt".
std::string ListFileNameFor(std::string_view modulePath, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
