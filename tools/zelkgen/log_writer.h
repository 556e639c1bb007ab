// Turns the generated contest into Cabrillo 3.0 texts, one per logging station.
#pragma once

#include "contest.h"
#include "log_form.h"

#include <string>

namespace zelk::gen {

// Gives every written record its QSO number in its log (TGenContact::qsoNo); a record its station did
// not log gets none. Every contact gets the serials its sides received in their contacts before
// (TGenContact::previous).
void NumberRecords(TGenContest& contest);

// The moment a side logged for a contact, in minutes since 1970-01-01 00:00, time faults included.
int64_t LoggedMinute(const TGenOptions& o, const TGenContest& contest, const TGenContact& c, int side);
// The serial a side wrote down as received, exchange faults included.
int ReceivedSerial(const TGenContact& c, int side);

// The exchange a side sent, as its QSO line writes it ("599 001", "001", "599 001 MO" or "001 000", the
// last with the serial `previous`).
std::string ExchangeText(const TGenOptions& o, int serial, const std::string& region, int previous = 0);

// The whole log file of a logging station, Windows-1251, with the line ends of its form; with `arrival`
// as the participant sent it: the separators and the encoding of its form.
std::string RenderLog(const TGenOptions& o, const TGenContest& contest, const TGenLogForm& form, int station,
                      bool arrival = false);

} // namespace zelk::gen
