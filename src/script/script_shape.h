// What the planner of the judging runs learns from a script without running it: whether anything the
// script does can be seen outside its answer, and, for the pair tests, the equalities every true answer
// needs between a field of the other record and a value of the record under check.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

class TQSORecord;

// The nine text fields of a record in the order of their script variables: Freq, Mode, SDate, STime,
// Call, Send, Receive, Score, Comment.
constexpr int kRecordTextFields = 9;
const std::string& RecordText(const TQSORecord& record, int field);

enum class TKeySource : std::uint8_t { Field, CallSign, Literal };

// One equality a true answer needs: text field `OtherField` of the other record (the variable with
// suffix "2") holds the same bytes as field `Field` of the record under check, as CallSign, or as
// `Literal`.
struct TKeyPart {
    int OtherField = 0;
    TKeySource Source = TKeySource::Field;
    int Field = 0;
    std::string Literal;
    bool operator==(const TKeyPart&) const = default;
};

struct TScriptShape {
    // The text compiles.
    bool Compiles = false;
    // Nothing the script does outlives its run or shows: it calls only built-in functions that have no
    // effect but their value or an error (no ShowMessage, no unknown or indexed names).
    bool Quiet = false;
    // Equalities every true answer needs. A run on a pair that misses any of them answers false and
    // raises no error: each is a comparison of two texts byte by byte, and all the script does before
    // it is decided cannot fail. Empty when no such equality is proven.
    std::vector<TKeyPart> Keys;
};

// The shape of a script text. `pair`: a pair test (IsConfirmative, IsValidReceive, IsDuplicate), whose
// keys are wanted; `callSign`: its entry point defines CallSign (all pair tests but IsDuplicate).
TScriptShape ShapeOfScript(const std::vector<std::string>& source, bool pair, bool callSign);

} // namespace zelk
