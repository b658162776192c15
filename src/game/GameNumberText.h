#pragma once

#include <QString>

#include <cstdint>

namespace vespin {

// A game number as the player types it. Leading blanks are skipped, then an
// optional "+" or "-", then decimal digits, or "$" and hexadecimal digits
// that spell all 32 bits ("$FFFFFFFF" is -1). Text that does not convert in
// full, and decimals outside the signed 32-bit range, give 0, which no game
// carries, so callers need only one test for "not a game".
std::int32_t parseGameNumber(const QString &text);

} // namespace vespin
