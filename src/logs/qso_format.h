// How the pieces of a QSO line are read: the template that names each piece after "QSO:" and the
// separators between pieces. The default reading is the documented Cabrillo layout with blanks only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// What one piece of a QSO line holds.
enum class TQSOPiece : std::uint8_t { Freq, Mode, Date, Time, MyCall, Sent, Call, Rcvd, Tx, Skip };

// The names of the pieces after "QSO:", in order: freq, mode, date, time, mycall, sent, call, rcvd, tx and
// skip. "sent" and "rcvd" may stand several times, their pieces making Send and Receive; "skip" pieces are
// read over; every other name stands at most once, and "call" must stand.
class TQSOTemplate {
  public:
    // The documented layout: freq mode date time mycall sent sent call rcvd rcvd.
    TQSOTemplate();
    // Reads a template text (names separated by blanks or commas, letter case ignored); empty text gives
    // the documented layout. Throws TZelkError with a message that says what is wrong.
    static TQSOTemplate Parse(std::string_view text);
    // The message Parse would raise for `text`, or empty text when the template is good.
    static std::string Check(std::string_view text);

    const std::vector<TQSOPiece>& Pieces() const { return pieces_; }
    // The position of a piece that stands at most once, or -1 when the template lacks it.
    int IndexOf(TQSOPiece piece) const;
    const std::vector<int>& SentIndexes() const { return sent_; }
    const std::vector<int>& RcvdIndexes() const { return rcvd_; }
    // How many pieces a line needs to fill every named field: up to the last piece that is not "skip".
    size_t RequiredPieces() const;
    // The names joined by one blank ("freq mode date ...").
    std::string Text() const;

  private:
    explicit TQSOTemplate(std::vector<TQSOPiece> pieces);
    std::vector<TQSOPiece> pieces_;
    int index_[10];
    std::vector<int> sent_, rcvd_;
};

// How the QSO lines of a contest are read.
struct TLogFormat {
    TQSOTemplate Template;
    // Tabs and no-break spaces (0xA0) separate pieces like blanks.
    bool SplitTabs = false;
};

// The default format: the documented layout, blanks only.
const TLogFormat& DefaultLogFormat();

// The pieces of the text after "QSO:": trimmed, runs of blanks taken as one, split at the blanks (and with
// `splitTabs` at tabs and no-break spaces as well). False when nothing is left after trimming.
bool SplitQSOPieces(std::string_view text, bool splitTabs, std::vector<std::string>& pieces);

} // namespace zelk
