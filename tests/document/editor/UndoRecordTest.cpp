// The one level of undo: which edits extend the record and which start a new
// one, and what an undo then puts back.
#include "document/editor/UndoRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace moke::editor {
namespace {

struct Step {
    std::size_t start;
    std::u16string removed;
    std::size_t inserted;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
    bool canUndo;
    std::size_t start, inserted;
    std::u16string removed;
};

TEST(UndoRecord, EditsExtendOrReplaceTheRecord) {
    const Case cases[] = {
        {"nothing recorded", {}, false, 0, 0, u""},
        {"typing at one place is one record", {{3, u"", 1}, {4, u"", 1}, {5, u"", 1}}, true, 3, 3, u""},
        {"typing elsewhere starts a new record", {{3, u"", 1}, {9, u"", 1}}, true, 9, 1, u""},
        {"Delete again and again gathers to the right", {{2, u"a", 0}, {2, u"b", 0}}, true, 2, 0, u"ab"},
        {"Backspace again and again gathers to the left", {{5, u"b", 0}, {4, u"a", 0}}, true, 4, 0, u"ab"},
        {"a replacement keeps the removed text and counts the new", {{1, u"xyz", 2}}, true, 1, 2, u"xyz"},
        {"typing over a deletion keeps what was deleted", {{4, u"q", 0}, {4, u"", 1}, {5, u"", 1}}, true, 4, 2, u"q"},
        {"a deletion after typing starts afresh", {{0, u"", 2}, {1, u"b", 0}}, true, 1, 0, u"b"},
    };
    for (const Case& c : cases) {
        UndoRecord record;
        for (const Step& s : c.steps) record.Record(s.start, s.removed, s.inserted);
        EXPECT_EQ(record.CanUndo(), c.canUndo) << c.name;
        if (!c.canUndo) continue;
        EXPECT_EQ(record.Start(), c.start) << c.name;
        EXPECT_EQ(record.InsertedLength(), c.inserted) << c.name;
        EXPECT_TRUE(record.Removed() == c.removed) << c.name;
    }
}

TEST(UndoRecord, ClearForgetsEverything) {
    UndoRecord record;
    record.Record(0, u"abc", 2);
    ASSERT_TRUE(record.CanUndo());
    record.Clear();
    EXPECT_FALSE(record.CanUndo());
}

} // namespace
} // namespace moke::editor
