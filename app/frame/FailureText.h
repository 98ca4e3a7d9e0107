// Texts of the two failure boxes: the standard error report and the last
// resort shown when a failure escapes every dispatch point.
#pragma once

#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// The message as the standard error box shows it: "." is appended when the
// last character (both bytes of a double-byte one) compares greater than "."
// byte by byte as unsigned values. An empty message stays empty.
std::string WithFullStop(std::string_view message, const LeadBytes& lead = SystemLeadBytes());

// The text of the last-resort box:
//   "<kind>がﾓｼﾞｭｰﾙ <module name> の <address> で発生しました。" LF "<message>[.]"
// The module name is the part of `moduleFileName` after its last "\" that is
// not the second byte of a double-byte character. The address is written in
// upper-case hexadecimal with at least 8 digits, more when it needs them
// (a 64-bit address above 0xFFFFFFFF shows all its significant digits).
// "." follows the message when it is not empty and its last byte is not ".".
std::string LastResortText(std::string_view kindName, std::string_view moduleFileName, const void* address,
                           std::string_view message, const LeadBytes& lead = SystemLeadBytes());

// Upper-case hexadecimal with at least `minDigits` digits.
std::string HexAddress(const void* address, std::size_t minDigits = 8);

} // namespace moke
