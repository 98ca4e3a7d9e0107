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
        // "C:" alone names the drive's current folder, and its directory
        // part is "C:" again: nothing further to expand.
        if (directory.size() >= path.size()) return path;
        return ExpandLongPath(directory) + "\\" + search.Name();
    }
    if (path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

std::string FullPathName(const std::string& path) {
    if (path.empty()) return path;
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (got == 0) return path;
        if (got < full.size()) {
            full.resize(got);
            return full;
        }
        full.resize(got + 1);
    }
}

} // namespace moke
