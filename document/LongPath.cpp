#include "document/LongPath.h"

#include "document/PathParts.h"

#include <windows.h>

namespace moke {

namespace {
class Search {
public:
    explicit Search(const std::string& path) : handle_(FindFirstFileA(path.c_str(), &found_)) {}
    ~Search() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    std::string Name() const { return found_.cFileName; }

private:
    WIN32_FIND_DATAA found_{};
    HANDLE handle_;
};
} // namespace

std::string ExpandLongPath(const std::string& path) {
    if (path.empty()) return {};
    // Every kind of entry matches: files, folders, hidden and system ones.
    Search search(path);
    if (search.Found()) {
        // A bare name stays relative to the current folder: a "\" in front
        // would point at the root of the drive instead.
        const std::string directory = DirectoryPart(path);
        if (directory.empty()) return search.Name();
        return ExpandLongPath(directory) + "\\" + search.Name();
    }
    if (path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

} // namespace moke
