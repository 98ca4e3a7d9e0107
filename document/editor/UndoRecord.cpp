#include "document/editor/UndoRecord.h"

namespace moke::editor {

void UndoRecord::Record(std::size_t start, std::u16string_view removed, std::size_t insertedLength) {
    if (!removed.empty()) {
        const std::size_t end = start + removed.size();
        if (inserted_ == 0 && !removed_.empty() && start == start_) {
            removed_.append(removed); // Delete, again and again
        } else if (inserted_ == 0 && !removed_.empty() && end == start_) {
            removed_.insert(0, removed); // Backspace, again and again
            start_ = start;
        } else {
            removed_.assign(removed);
            start_ = start;
        }
        inserted_ = 0;
    }
    if (insertedLength != 0) {
        if (start == start_ || (inserted_ != 0 && start == start_ + inserted_)) {
            inserted_ += insertedLength;
        } else {
            start_ = start;
            inserted_ = insertedLength;
            removed_.clear();
        }
    }
}

} // namespace moke::editor
