#include "app/frame/Failure.h"

namespace moke {

SilentCancel::SilentCancel() : Failure(FailureKind::Abort, std::string(FailureFormat(FailureKind::Abort))) {}

void Abort() { throw SilentCancel(); }

std::string_view FailureFormat(FailureKind kind) {
    switch (kind) {
    case FailureKind::Abort: return "Abort による中断";
    case FailureKind::FileOpen: return "ﾌｧｲﾙ %s は開けません";
    case FailureKind::FileCreate: return "ﾌｧｲﾙ %s を作成できません";
    case FailureKind::Write: return "ｽﾄﾘｰﾑへの書き込みｴﾗｰ";
    case FailureKind::Capacity: return "文字列の大きさが ﾒﾓ の制限を越えました";
    case FailureKind::ListInsert: return "行を挿入できません";
    case FailureKind::OutOfMemory: return "ﾒﾓﾘが足りません";
    case FailureKind::General: break;
    }
    return "%s";
}

Failure MakeFailure(FailureKind kind, std::string_view path) {
    std::string text(FailureFormat(kind));
    if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, path);
    return Failure(kind, std::move(text));
}

std::string_view FailureKindName(FailureKind kind) {
    switch (kind) {
    case FailureKind::Abort: return "SilentCancel";
    case FailureKind::FileOpen: return "FileOpenFailure";
    case FailureKind::FileCreate: return "FileCreateFailure";
    case FailureKind::Write: return "WriteFailure";
    case FailureKind::Capacity: return "CapacityFailure";
    case FailureKind::ListInsert: return "ListInsertFailure";
    case FailureKind::OutOfMemory: return "OutOfMemoryFailure";
    case FailureKind::General: break;
    }
    return "Failure";
}

} // namespace moke
