// The text work behind the script functions that contest rules ask for again and again: the band of a
// frequency field (Band), the n-th word of an exchange (Word) and a serial number without its leading
// zeros (NoZeros). The engine wires them up; Minutes and IsCall use the cross-check's own time rule and
// callsign shape instead.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

// The band of a frequency field: characters before the first digit are skipped; kHz within an amateur
// band give its name in metres ("160" ... "10", "6", "4", "2"); a band designator of 50 MHz and up
// ("50", "144", "1.2G", ... "LIGHT", letter case ignored) gives itself; anything else empty text.
std::string BandOfFrequency(std::string_view freq);

// The `n`-th piece (from 1) of `text` between runs of blanks (characters with codes up to 32), or empty
// text when there is no such piece.
std::string WordOf(std::string_view text, int n);

// A text of decimal digits without its leading zeros ("007" gives "7", "000" gives "0"); any other text
// as it is.
std::string WithoutLeadingZeros(std::string_view text);

} // namespace zelk
