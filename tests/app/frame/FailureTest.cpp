#include "app/frame/Failure.h"

#include <gtest/gtest.h>

#include <set>

using namespace moke;

TEST(Failure, MessagesOfEachKind) {
    struct Case {
        FailureKind kind;
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        {FailureKind::FileOpen, "C:\\表\\a.txt", "ﾌｧｲﾙ C:\\表\\a.txt は開けません"},
        {FailureKind::FileCreate, "C:\\a.txt", "ﾌｧｲﾙ C:\\a.txt を作成できません"},
        {FailureKind::Write, "C:\\a.txt", "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"},
        {FailureKind::Capacity, "", "文字列の大きさが ﾒﾓ の制限を越えました"},
        {FailureKind::ListInsert, "", "行を挿入できません"},
        {FailureKind::OutOfMemory, "", "ﾒﾓﾘが足りません"},
        {FailureKind::General, "何か", "何か"},
        // A path holding "%s" goes in as it is and is not expanded again.
        {FailureKind::FileOpen, "%s%s", "ﾌｧｲﾙ %s%s は開けません"},
        {FailureKind::FileOpen, "", "ﾌｧｲﾙ  は開けません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Failure failure = MakeFailure(c.kind, c.path);
        EXPECT_EQ(failure.Kind(), c.kind);
        EXPECT_EQ(failure.Message(), c.message);
        EXPECT_STREQ(failure.what(), c.message);
    }
}

TEST(Failure, SilentCancellation) {
    try {
        Abort();
        FAIL() << "Abort returned";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Kind(), FailureKind::Abort);
        EXPECT_EQ(failure.Message(), "Abort による中断");
        EXPECT_NE(dynamic_cast<const SilentCancel*>(&failure), nullptr);
    }
    EXPECT_EQ(MakeFailure(FailureKind::Abort).Kind(), FailureKind::Abort);
    EXPECT_EQ(Failure("x").Kind(), FailureKind::General);
}

TEST(Failure, EveryKindHasItsOwnName) {
    const FailureKind kinds[] = {FailureKind::General,    FailureKind::Abort,      FailureKind::FileOpen,
                                 FailureKind::FileCreate, FailureKind::Write,      FailureKind::Capacity,
                                 FailureKind::ListInsert, FailureKind::OutOfMemory};
    std::set<std::string_view> names;
    for (FailureKind kind : kinds) {
        EXPECT_FALSE(FailureKindName(kind).empty());
        names.insert(FailureKindName(kind));
    }
    EXPECT_EQ(names.size(), std::size(kinds));
}
