#include "document/TextFile.h"

#include "app/frame/Failure.h"
#include "document/LineBreaks.h"
#include "document/ListLines.h"
#include "document/PathParts.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace moke {

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now; false when closing failed.
    bool Close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// Exclusive: the open fails if anyone else has the file open, and nobody
// else can open it while it is open.
FileHandle OpenForReading(const std::string& path) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw MakeFailure(FailureKind::FileOpen, path);
    return file;
}

// The whole of a file just opened, with one read. Bytes that were
// not delivered never enter the text: a short read is a failure.
// With `roomToGrow`, one byte per eight is kept free behind the text, for
// line breaks made CR LF in place: reserved, not touched, so it costs no
// memory unless the text grows into it.
std::string ReadRest(const FileHandle& file, const std::string& path, bool roomToGrow = false) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) throw MakeFailure(FailureKind::FileOpen, path);
    const long long count = size.QuadPart;
    if (count <= 0) return {};
    if (count > std::numeric_limits<DWORD>::max() - 1) throw MakeFailure(FailureKind::OutOfMemory);
    std::string bytes;
    try {
        if (roomToGrow) {
            try {
                bytes.reserve(static_cast<size_t>(count) + static_cast<size_t>(count) / 8 + 16);
            } catch (const std::bad_alloc&) {
                // The room saves a copy later; the text alone may still fit.
            }
        }
        bytes.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(count), &got, nullptr) ||
        got != static_cast<DWORD>(count))
        throw MakeFailure(FailureKind::FileOpen, path);
    return bytes;
}

template <class Target> class UpdateBatch {
  public:
    explicit UpdateBatch(Target& target) : target_(target) { target_.BeginUpdate(); }
    ~UpdateBatch() { target_.EndUpdate(); }
    UpdateBatch(const UpdateBatch&) = delete;
    UpdateBatch& operator=(const UpdateBatch&) = delete;

  private:
    Target& target_;
};

// Removes a temporary file unless it has been handed over.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path_; }
    void Release() { path_.clear(); }

  private:
    std::string path_;
};

// A new, empty file with a unique name in `folder`; empty when none can be made.
// The names are short ("~" and up to three letters or digits, with ".tmp"
// where the whole path still fits), so that a document in a folder nested
// nearly as deep as a path may go can still be saved.
std::string NewFileIn(const std::string& folder) {
    static unsigned next = GetTickCount();
    constexpr unsigned kNames = 36u * 36u * 36u;
    for (unsigned attempt = 0; attempt < kNames; ++attempt) {
        std::string name = folder + "\\~";
        for (unsigned n = next++ % kNames;; n /= 36) {
            name += "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36];
            if (n < 36) break;
        }
        if (name.size() + 4 < MAX_PATH) name += ".tmp";
        HANDLE made = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) {
            CloseHandle(made);
            return name;
        }
        // Taken: try the next name. Anything else (no such folder, no right
        // to write there, a path too long) no other name mends.
        const DWORD error = GetLastError();
        const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                           (error == ERROR_ACCESS_DENIED && GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!taken) return {};
    }
    return {};
}

// True when any byte is 0x80 or above, eight bytes at a time.
bool HasHighBytes(std::string_view text) {
    const char* p = text.data();
    std::size_t left = text.size();
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull) return true;
    }
    for (; left > 0; ++p, --left)
        if (static_cast<unsigned char>(*p) & 0x80) return true;
    return false;
}

// The text of the code page's bytes as characters; empty when `strict` and
// some bytes are no character of the code page.
std::wstring Characters(std::string_view text, bool strict) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, flags, text.data(), size, wide.data(), length);
    return wide;
}

// True when `original` is well-formed in the code page and `shown` holds the
// same characters, only (perhaps) by other codes.
bool SameCharacters(std::string_view original, std::string_view shown) {
    const std::wstring characters = Characters(original, true);
    return !characters.empty() && characters == Characters(shown, false);
}

} // namespace

void LoadTextFile(TMemo& memo, const std::string& path) {
    FileHandle file = OpenForReading(path);
    UpdateBatch batch(memo);
    std::string bytes = ReadRest(file, path, true);
    // The control would take the text only up to a NUL: such a file is not
    // shown (nor later saved) cut short.
    if (bytes.find('\0') != std::string::npos) throw MakeFailure(FailureKind::Capacity);
    // Line breaks are made CR LF once, here, and the text is sent as it is.
    NormalizeLineBreaksInPlace(bytes);
    memo.SetNormalizedText(bytes);
    // Nor changed: the control keeps text in a form of its own, and a byte
    // sequence that is no character of the code page (a lead byte before a
    // line break, or at the very end) comes back as another character. Such
    // a text would be saved changed. Plain ASCII always comes back as it went.
    // A character with two codes in the code page (the NEC and IBM rows of
    // Shift-JIS) comes back with its standard code: the same character, so
    // the text is kept.
    if (HasHighBytes(bytes)) {
        const std::string shown = memo.Text();
        if (shown != bytes && !SameCharacters(bytes, shown)) throw MakeFailure(FailureKind::Capacity);
    }
}

void LoadListFile(TComboBox& list, const std::string& path) {
    FileHandle file = OpenForReading(path);
    UpdateBatch outer(list);
    const std::string bytes = ReadRest(file, path);
    UpdateBatch inner(list);
    list.Clear();
    ForEachListLine(bytes, [&list](std::string_view line) {
        if (!list.Add(line)) throw MakeFailure(FailureKind::ListInsert);
    });
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SaveTextFile(const TMemo& memo, const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only target or a folder is never written over.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw MakeFailure(FailureKind::FileCreate, path);
    // Nor is a file that another program holds open, whatever sharing it
    // allows: the replace call alone would go ahead where deleting is shared.
    if (exists && !FileHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr))
                       .Valid())
        throw MakeFailure(FailureKind::FileCreate, path);

    const std::string text = memo.Text();

    std::string folder(FolderPart(path));
    if (folder.empty()) folder = ".";
    TemporaryFile temporary(NewFileIn(folder));
    if (temporary.Path().empty()) throw MakeFailure(FailureKind::FileCreate, path);
    {
        FileHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) throw MakeFailure(FailureKind::FileCreate, path);
        size_t written = 0;
        while (written < text.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - written, 1u << 30));
            DWORD wrote = 0;
            if (!WriteFile(file.Get(), text.data() + written, chunk, &wrote, nullptr) || wrote != chunk)
                throw MakeFailure(FailureKind::Write);
            written += wrote;
        }
        if (!FlushFileBuffers(file.Get()) || !file.Close()) throw MakeFailure(FailureKind::Write);
    }
    // Only now is the target touched.
    if (!exists) {
        if (!MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            throw MakeFailure(FailureKind::FileCreate, path);
        temporary.Release();
        return;
    }
    // The new file takes the target's attributes, whether or not the
    // platform's replace call carries them over.
    SetFileAttributesA(temporary.Path().c_str(),
                       attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    // The old contents go to a backup name that we choose and remove: without
    // one, some replace calls leave a copy of their own behind in the folder.
    TemporaryFile backup(NewFileIn(folder));
    if (backup.Path().empty()) throw MakeFailure(FailureKind::FileCreate, path);
    if (!ReplaceFileA(path.c_str(), temporary.Path().c_str(), backup.Path().c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        // A replace that failed halfway can leave the old file under the
        // backup name: it goes back before the backup is removed.
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !MoveFileExA(backup.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            backup.Release(); // never remove the only copy of the old file
        throw MakeFailure(FailureKind::FileCreate, path);
    }
    temporary.Release(); // it is the target now
}

} // namespace moke
