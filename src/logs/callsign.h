// The shape of an amateur callsign and its base call: what separates a correspondent's callsign from an
// exchange piece that slipped into its place, and what Q1AB/P, Q1AB/QRP, Q1AB/3 and Q2/Q1AB have in common.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

// True when `text` (letter case ignored) is a callsign: a prefix of one to four letters and digits
// holding a letter or standing first, a digit, then one to four letters; optionally with a prefix of
// another country before a "/" and one modifier after it (/P, /M, /MM, /AM, /QRP, /A, or a digit).
bool IsCallSignShape(std::string_view text);

// The base call of a callsign, upper-cased: the "/"-separated piece that has a callsign's shape (the
// longest, should there be two); without such a piece, the text before the first "/", trimmed.
std::string BaseCall(std::string_view call);

} // namespace zelk
