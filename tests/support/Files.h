// Real files for the tests: a scratch folder of its own for each test, bytes
// in and out, and another process that holds a file open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace moke::test {

// The folder of the test executable, with a final "\".
inline std::string ExecutableFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path << " (error " << GetLastError() << ")";
    DWORD wrote = 0;
    const BOOL ok =
        bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && wrote == bytes.size()) << "cannot write " << path;
}

// The whole file; "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// Names in a folder (without "." and ".."), sorted.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

inline void RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::string& name : FilesIn(path))
            RemoveTree(path + "\\" + name);
        RemoveDirectoryA(path.c_str());
    } else {
        DeleteFileA(path.c_str());
    }
}

// The Windows path of a Linux path: Wine maps "/" to drive Z:.
inline std::string WindowsPathOf(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

// The folder of the tiny file system that the test set-up mounts for the
// full-disk tests (MOKE_FULL_DISK), or empty when there is none.
inline std::string FullDiskFolder() {
    const char* mounted = std::getenv("MOKE_FULL_DISK");
    return mounted && *mounted ? WindowsPathOf(mounted) : std::string();
}

// A new folder beside the test executable (or in `parent`), removed with
// everything in it.
// Makes `folder` the current one for the life of the object.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        GetCurrentDirectoryA(MAX_PATH, before_);
        changed_ = SetCurrentDirectoryA(folder.c_str()) != FALSE;
    }
    ~CurrentFolder() { SetCurrentDirectoryA(before_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    bool Changed() const { return changed_; }

  private:
    char before_[MAX_PATH + 1] = {};
    bool changed_ = false;
};

class ScratchFolder {
  public:
    explicit ScratchFolder(std::string parent = ExecutableFolder()) {
        static int count = 0;
        if (!parent.empty() && parent.back() != '\\') parent += '\\';
        path_ = parent + "scratch-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
        RemoveTree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        // The file dialogs make the chosen folder the current one; a current
        // folder cannot be removed.
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        if (_strnicmp(current, path_.c_str(), path_.size()) == 0)
            SetCurrentDirectoryA(ExecutableFolder().c_str());
        RemoveTree(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, without a final "\".
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    std::vector<std::string> Files() const { return FilesIn(path_); }

  private:
    std::string path_;
};

// Another process that opens a file (reading and writing, with the given
// share mode) and keeps it open until released or destroyed.
class HeldFile {
  public:
    explicit HeldFile(const std::string& path, DWORD shareMode = 0) {
        static int count = 0;
        const std::string stem =
            "MokeHeldFile-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
        const std::string readyName = stem + "-ready", releaseName = stem + "-release";
        ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        release_ = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
        std::string executable(MAX_PATH, '\0');
        executable.resize(GetModuleFileNameA(nullptr, executable.data(), MAX_PATH));
        std::string line = "\"" + executable + "\" --moke-hold-file " + readyName + " " + releaseName + " " +
                           std::to_string(shareMode) + " \"" + path + "\"" +
                           // Should the hold mode be missing, the child runs no test (and starts no child).
                           " --gtest_filter=NoTestAtAll";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return;
        process_ = process.hProcess;
        CloseHandle(process.hThread);
        const HANDLE waitFor[] = {ready_, process_};
        holding_ = WaitForMultipleObjects(2, waitFor, FALSE, 30000) == WAIT_OBJECT_0;
    }
    ~HeldFile() {
        Release();
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // True while the other process holds the file open.
    bool Holding() const { return holding_; }

    // Lets the other process close the file and end; waits for it.
    void Release() {
        if (!process_) return;
        SetEvent(release_);
        WaitForSingleObject(process_, 30000);
        CloseHandle(process_);
        process_ = nullptr;
        holding_ = false;
    }

  private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

} // namespace moke::test
