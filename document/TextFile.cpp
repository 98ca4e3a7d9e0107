#include "document/TextFile.h"

#include "app/frame/Failure.h"
#include "app/frame/LeadBytes.h"
#include "document/LineBreaks.h"
#include "document/ListLines.h"
#include "document/PathParts.h"
#include "document/TextScan.h"
#include "document/editor/TextBuffer.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

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

// Goes back to the start of the file; answers its size.
unsigned long long Rewind(const FileHandle& file, const std::string& path) {
    LARGE_INTEGER size{}, start{};
    if (!GetFileSizeEx(file.Get(), &size) || !SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN))
        throw MakeFailure(FailureKind::FileOpen, path);
    return static_cast<unsigned long long>(std::max<LONGLONG>(size.QuadPart, 0));
}

// The whole of a file, with one read. Bytes that were not delivered never
// enter the text: a short read is a failure.
std::string ReadWhole(const FileHandle& file, const std::string& path) {
    const unsigned long long count = Rewind(file, path);
    if (count == 0) return {};
    if (count > std::numeric_limits<DWORD>::max() - 1) throw MakeFailure(FailureKind::OutOfMemory);
    std::string bytes;
    try {
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

// Reads the whole file from its start in blocks of the buffer's size.
// `each(bytes, last)` is given every block and answers how many bytes at its
// end it left unused (a character cut by the block's end): they come again
// at the start of the next block. A short read is a failure.
constexpr std::size_t kBlock = std::size_t(1) << 20;
template <class Each> void ReadBlocks(const FileHandle& file, const std::string& path, std::vector<char>& buffer,
                                      Each&& each) {
    unsigned long long left = Rewind(file, path);
    std::size_t kept = 0;
    while (left > 0) {
        const auto want = static_cast<DWORD>(std::min<unsigned long long>(buffer.size() - kept, left));
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer.data() + kept, want, &got, nullptr) || got == 0)
            throw MakeFailure(FailureKind::FileOpen, path);
        left -= got;
        const std::size_t filled = kept + got;
        kept = each(std::string_view(buffer.data(), filled), left == 0);
        std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
    }
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

// One block's characters, whole ones only, decoded into `out` (room for one
// unit per byte); false when the bytes are not well-formed in the encoding.
bool DecodeBlock(std::string_view bytes, TextEncoding encoding, std::vector<wchar_t>& out, std::size_t& units) {
    units = 0;
    if (bytes.empty()) return true;
    switch (encoding) {
    case TextEncoding::ShiftJis:
        units = static_cast<std::size_t>(MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(),
                                                             static_cast<int>(bytes.size()), out.data(),
                                                             static_cast<int>(out.size())));
        return units > 0;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        units = Utf16LengthOfUtf8(bytes);
        if (units == std::string_view::npos || units > out.size()) return false;
        DecodeUtf8(bytes, out.data());
        return true;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        units = bytes.size() / 2;
        DecodeUtf16(bytes, encoding == TextEncoding::Utf16Be, out.data());
        return true;
    }
    return false;
}

// True when the Shift-JIS characters of `text` give exactly `bytes` again.
bool GivesBytesBack(std::u16string_view text, std::string_view bytes) {
    constexpr std::size_t kPiece = 1 << 16;
    std::string again;
    std::size_t at = 0;
    for (std::size_t i = 0; i < text.size(); i += kPiece) {
        const std::u16string_view piece = text.substr(i, kPiece);
        again.clear();
        if (!EncodeShiftJis(std::wstring_view(reinterpret_cast<const wchar_t*>(piece.data()), piece.size()), again) ||
            bytes.substr(at, again.size()) != again)
            return false;
        at += again.size();
    }
    return at == bytes.size();
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
    std::vector<char> block;
    std::vector<wchar_t> decoded;
    try {
        block.resize(kBlock);
        decoded.resize(kBlock);
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }

    // The first pass tells the encoding and the text's exact length.
    TextScan scan;
    ReadBlocks(file, path, block, [&scan](std::string_view bytes, bool) -> std::size_t {
        scan.Feed(bytes);
        return 0;
    });
    scan.Finish();
    if (scan.Refused()) throw MakeFailure(FailureKind::Capacity);
    DocumentFormat format;
    format.encoding = scan.Encoding();

    // The second decodes each block straight into the editor's kind of
    // buffer, which the editor then takes over: the text is never copied.
    const std::size_t units = scan.Units();
    editor::TextBuffer text;
    try {
        text = editor::TextBuffer(editor::TextBuffer::CapacityFor(units));
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }
    LineBreakWriter<char16_t> writer(text.Data(), units);
    std::size_t mark = scan.MarkLength();
    ReadBlocks(file, path, block, [&](std::string_view bytes, bool last) -> std::size_t {
        const std::size_t skipped = std::min(mark, bytes.size());
        bytes.remove_prefix(skipped);
        mark -= skipped;
        const std::size_t whole = last ? bytes.size() : CompletePrefix(bytes, format.encoding);
        std::size_t count = 0;
        if (!DecodeBlock(bytes.substr(0, whole), format.encoding, decoded, count) ||
            !writer.Write(reinterpret_cast<const char16_t*>(decoded.data()), count))
            throw MakeFailure(FailureKind::Capacity);
        return bytes.size() - whole;
    });
    if (!writer.Finish() || writer.Written() != units) throw MakeFailure(FailureKind::Capacity);
    text.SetLength(units);

    // A character that has two codes is written back with its standard one:
    // where the characters would not give the file's bytes again, the bytes
    // as read (line breaks CR LF) are kept for an unedited save.
    if (format.encoding == TextEncoding::ShiftJis && scan.MayHoldSecondCodes()) {
        std::string bytes = ReadWhole(file, path);
        NormalizeLineBreaksInPlace(bytes, LeadBytes::ShiftJis());
        if (!GivesBytesBack(text.View(), bytes)) format.bytes = std::move(bytes);
    }
    memo.TakeText(text);
    return format;
}

void LoadListFile(TComboBox& list, const std::string& path) {
    FileHandle file = OpenForReading(path);
    UpdateBatch outer(list);
    const std::string bytes = ReadWhole(file, path);
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
