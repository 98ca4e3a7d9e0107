// The editor's one level of undo, kept as the platform's edit control keeps
// it: the text an edit removed, where it was, and how many units were put
// there since. Consecutive typing (or deleting) at one place extends the
// record; undoing is itself an undoable replacement, so a second undo takes
// the first one back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace moke::editor {

class UndoRecord {
public:
    bool CanUndo() const { return inserted_ != 0 || !removed_.empty(); }
    void Clear() {
        inserted_ = 0;
        removed_.clear();
    }
    // Before an undoable edit that replaces `removed` at `start` by
    // `insertedLength` units.
    void Record(std::size_t start, std::u16string_view removed, std::size_t insertedLength);

    // What undoing does: replace [Start(), Start() + InsertedLength()) by Removed().
    std::size_t Start() const { return start_; }
    std::size_t InsertedLength() const { return inserted_; }
    const std::u16string& Removed() const { return removed_; }

private:
    std::u16string removed_;
    std::size_t start_ = 0;
    std::size_t inserted_ = 0;
};

} // namespace moke::editor
