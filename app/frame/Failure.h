// Failures travel as exceptions. Every dispatch point catches them and hands
// them to the standard error report; the silent cancellation is never shown.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace moke {

enum class FailureKind {
    General,     // any other failure
    Abort,       // the silent cancellation
    FileOpen,    // "ﾌｧｲﾙ %s は開けません"
    FileCreate,  // "ﾌｧｲﾙ %s を作成できません"
    Write,       // "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"
    Capacity,    // "文字列の大きさが ﾒﾓ の制限を越えました"
    ListInsert,  // "行を挿入できません"
    OutOfMemory, // "ﾒﾓﾘが足りません"
};

// A failure: a kind and a fixed message (text string in the ANSI code page).
class Failure : public std::exception {
public:
    Failure(FailureKind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
    explicit Failure(std::string message) : Failure(FailureKind::General, std::move(message)) {}

    FailureKind Kind() const noexcept { return kind_; }
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    FailureKind kind_;
    std::string message_;
};

// The user's Cancel: unwinds like any failure, never shown.
class SilentCancel : public Failure {
public:
    SilentCancel();
};

// Raises the silent cancellation.
[[noreturn]] void Abort();

// The message of each failure kind; "%s" stands for the path where there is one.
std::string_view FailureFormat(FailureKind kind);

// A failure of `kind` with its fixed message; `path` replaces "%s".
Failure MakeFailure(FailureKind kind, std::string_view path = {});

// The name of a failure kind, as shown by the last-resort box.
std::string_view FailureKindName(FailureKind kind);

} // namespace moke
