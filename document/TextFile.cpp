#include "document/TextFile.h"

#include "app/frame/Failure.h"
#include "app/frame/LeadBytes.h"
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
#include <stdexcept>

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

constexpr UINT kShiftJis = 932;

// A string of `size` elements; out-of-memory when there is no room.
template <class String> void Resize(String& text, std::size_t size) {
    try {
        text.resize(size);
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    } catch (const std::length_error&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }
}

// Code page 932 bytes as UTF-16; false when some bytes are no character of
// the code page.
bool DecodeShiftJis(std::string_view bytes, std::wstring& out) {
    out.clear();
    if (bytes.empty()) return true;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) throw MakeFailure(FailureKind::OutOfMemory);
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return false;
    Resize(out, static_cast<std::size_t>(length));
    return MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), length) == length;
}

// UTF-16 as code page 932 bytes after `out`; false when some character has
// no code there. Nothing is ever replaced by a look-alike: the conversion
// allows no best fit, and what it gives is read back to make sure.
bool EncodeShiftJis(std::wstring_view text, std::string& out) {
    if (text.empty()) return true;
    if (text.size() > static_cast<std::size_t>(INT_MAX)) throw MakeFailure(FailureKind::OutOfMemory);
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    const std::size_t start = out.size();
    Resize(out, start + static_cast<std::size_t>(length));
    if (WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data() + start, length, nullptr,
                            &usedDefault) != length ||
        usedDefault)
        return false;
    std::wstring back;
    return DecodeShiftJis(std::string_view(out).substr(start), back) && back == text;
}

// The file's characters, decoded by its encoding, with line breaks made CR
// LF; false when the bytes are not well-formed in that encoding or hold a
// NUL character (the editor would show the text only up to it).
bool DecodeText(std::string& bytes, TextEncoding encoding, std::wstring& text) {
    const std::size_t mark = ByteOrderMark(encoding).size();
    if (IsUtf16(encoding)) {
        const std::string_view body = std::string_view(bytes).substr(mark);
        if (body.size() % 2 != 0) return false;
        // Room behind the text for line breaks made CR LF in place.
        text.reserve(body.size() / 2 + body.size() / 16 + 8);
        Resize(text, body.size() / 2);
        DecodeUtf16(body, encoding == TextEncoding::Utf16Be, text.data());
        if (text.find(L'\0') != std::wstring::npos) return false;
        NormalizeLineBreaksInPlace(text);
        return true;
    }
    if (bytes.find('\0') != std::string::npos) return false;
    // Line breaks are made CR LF in the bytes, where a Shift-JIS trail byte
    // is told from a CR or LF, before the characters are made.
    NormalizeLineBreaksInPlace(bytes, encoding == TextEncoding::ShiftJis ? LeadBytes::ShiftJis() : LeadBytes());
    const std::string_view body = std::string_view(bytes).substr(mark);
    if (encoding == TextEncoding::ShiftJis) return DecodeShiftJis(body, text);
    const std::size_t units = Utf16LengthOfUtf8(body);
    if (units == std::string_view::npos) return false;
    Resize(text, units);
    DecodeUtf8(body, text.data());
    return true;
}

// The bytes of a file holding `text` in `encoding`; false when the encoding
// cannot hold every character.
bool EncodeText(std::wstring_view text, TextEncoding encoding, std::string& bytes) {
    bytes = ByteOrderMark(encoding);
    switch (encoding) {
    case TextEncoding::ShiftJis: return EncodeShiftJis(text, bytes);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
        bool lossless = true;
        EncodeUtf8(text, bytes, lossless);
        return lossless;
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: EncodeUtf16(text, encoding == TextEncoding::Utf16Be, bytes); return true;
    }
    return false;
}

// The path that `path` finally names: a link is followed to the file it
// points to, so that the file is replaced and the link stays a link. The
// path itself when it names nothing yet or cannot be resolved.
std::string FinalPath(const std::string& path, HANDLE opened) {
    std::string final(MAX_PATH, '\0');
    DWORD got = GetFinalPathNameByHandleA(opened, final.data(), static_cast<DWORD>(final.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got >= final.size()) {
        final.resize(got + 1);
        got = GetFinalPathNameByHandleA(opened, final.data(), static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (got == 0 || got >= final.size()) return path;
    final.resize(got);
    if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
    if (final.rfind("\\\\?\\", 0) == 0) final.erase(0, 4);
    return final;
}

// Puts the complete new file in the place of `path` (which `target` named).
// `attributes` are those of the file replaced, or INVALID_FILE_ATTRIBUTES
// when there was none.
void ReplaceWith(TemporaryFile& temporary, const std::string& path, const std::string& target, DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            throw MakeFailure(FailureKind::FileCreate, target);
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
    std::string folder(FolderPart(path));
    if (folder.empty()) folder = ".";
    TemporaryFile backup(NewFileIn(folder));
    if (backup.Path().empty()) throw MakeFailure(FailureKind::FileCreate, target);
    if (!ReplaceFileA(path.c_str(), temporary.Path().c_str(), backup.Path().c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        // A replace that failed halfway can leave the old file under the
        // backup name: it goes back before the backup is removed.
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !MoveFileExA(backup.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            backup.Release(); // never remove the only copy of the old file
        throw MakeFailure(FailureKind::FileCreate, target);
    }
    temporary.Release(); // it is the target now
}

} // namespace

DocumentFormat LoadTextFile(TMemo& memo, const std::string& path) {
    FileHandle file = OpenForReading(path);
    UpdateBatch batch(memo);
    DocumentFormat format;
    std::string bytes = ReadRest(file, path, true);
    format.encoding = DetectEncoding(bytes);
    std::wstring text;
    if (!DecodeText(bytes, format.encoding, text)) throw MakeFailure(FailureKind::Capacity);
    // A character that has two codes is written back with its standard one:
    // where the characters would not give these bytes again, the bytes as
    // read are kept for an unedited save.
    if (format.encoding == TextEncoding::ShiftJis && MayHoldSecondCodes(bytes)) {
        std::string again;
        if (!EncodeText(text, format.encoding, again) || again != bytes) format.bytes = std::move(bytes);
    }
    bytes = std::string();
    memo.SetNormalizedText(text);
    return format;
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

bool SaveTextFile(const TMemo& memo, const std::string& target, TextEncoding encoding, DocumentFormat& format) {
    std::string path = target;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only target or a folder is never written over.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw MakeFailure(FailureKind::FileCreate, target);
    if (exists) {
        // Nor is a file that another program holds open, whatever sharing it
        // allows: the replace call alone would go ahead where deleting is
        // shared.
        FileHandle existing(
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!existing.Valid()) throw MakeFailure(FailureKind::FileCreate, target);
        path = FinalPath(path, existing.Get());
    }

    // An editor unmodified since the file was read or written gives the same
    // bytes again.
    const bool unedited = !memo.Modified() && encoding == format.encoding && !format.bytes.empty();
    std::string encoded;
    if (!unedited && !EncodeText(memo.Text(), encoding, encoded)) return false;
    const std::string& bytes = unedited ? format.bytes : encoded;

    std::string folder(FolderPart(path));
    if (folder.empty()) folder = ".";
    TemporaryFile temporary(NewFileIn(folder));
    if (temporary.Path().empty()) throw MakeFailure(FailureKind::FileCreate, target);
    {
        FileHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) throw MakeFailure(FailureKind::FileCreate, target);
        size_t written = 0;
        while (written < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
            DWORD wrote = 0;
            if (!WriteFile(file.Get(), bytes.data() + written, chunk, &wrote, nullptr) || wrote != chunk)
                throw MakeFailure(FailureKind::Write);
            written += wrote;
        }
        if (!FlushFileBuffers(file.Get()) || !file.Close()) throw MakeFailure(FailureKind::Write);
    }
    ReplaceWith(temporary, path, target, exists ? attributes : INVALID_FILE_ATTRIBUTES);
    format.encoding = encoding;
    if (!unedited) format.bytes.clear(); // the characters give these bytes back
    return true;
}

} // namespace moke
