// TQSORecord: parsing of a QSO line, rows back into records, and the time arithmetic of contacts.
#include "logs/qso_record.h"

#include "logs/list_rows.h"
#include "logs/qso_format.h"
#include "logs/text.h"

#include <cmath>
#include <cstdlib>

namespace zelk {

namespace {

constexpr double kMsPerDay = 86400000.0;

// A decimal integer of a short text with the blanks inside removed; false when it is not one.
bool ReadDigits(std::string_view part, int& value) {
    std::string digits;
    for (char ch : part)
        if (ch != ' ') digits += ch;
    return TryStrToInt(digits, value);
}

int DaysFromCivil(int y, int m, int d) {
    // Days since 1970-01-01 of the proleptic Gregorian calendar.
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int kDays1899To1970 = 25569;

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Splits a day count into its calendar day and its minute of the day (seconds ignored).
void SplitMoment(double moment, long long& day, int& minute) {
    const double whole = std::trunc(moment);
    day = static_cast<long long>(whole);
    long long ms = std::llround(std::fabs(moment - whole) * kMsPerDay);
    minute = static_cast<int>(ms / 60000);
}

} // namespace

bool EncodeDate(int year, int month, int day, int& days) {
    static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const int last = kMonthDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day > last) return false;
    days = DaysFromCivil(year, month, day) + kDays1899To1970;
    return true;
}

void DecodeDate(int days, int& year, int& month, int& day) {
    const int z = days - kDays1899To1970 + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp + (mp < 10 ? 3 : -9);
    year = yoe + era * 400 + (month <= 2);
}

int DateTextToDays(std::string_view text) {
    int y = 0, m = 0, d = 0, days = 0;
    // The Cabrillo form: year, month and day at fixed positions.
    if (text.size() >= 10 && ReadDigits(text.substr(0, 4), y) && ReadDigits(text.substr(5, 2), m) &&
        ReadDigits(text.substr(8, 2), d) && EncodeDate(y, m, d, days))
        return days;
    // Other year-month-day forms with any one separator, such as 2005-2-12 or 2005.02.12.
    std::vector<std::string> parts;
    std::string piece;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            piece += ch;
        } else if (!piece.empty()) {
            parts.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty()) parts.push_back(piece);
    if (parts.size() == 3 && parts[0].size() == 4 && TryStrToInt(parts[0], y) && TryStrToInt(parts[1], m) &&
        TryStrToInt(parts[2], d) && EncodeDate(y, m, d, days))
        return days;
    return 0;
}

void TQSORecord::Clear() {
    Freq.clear();
    Mode.clear();
    SDate.clear();
    STime.clear();
    Call.clear();
    Send.clear();
    Receive.clear();
    Score.clear();
    Comment.clear();
    MyCall.clear();
    Tx.clear();
    QSOIndex = -1;
    ResetResults();
}

void TQSORecord::ResetResults() {
    CachedPoints = -1;
    CachedReason.clear();
    CachedCriterion.clear();
    CriterionKnown = false;
}

void TQSORecord::Assign(const TQSORecord& other) {
    Freq = other.Freq;
    Mode = other.Mode;
    SDate = other.SDate;
    STime = other.STime;
    Call = other.Call;
    Send = other.Send;
    Receive = other.Receive;
    Score = other.Score;
    Comment = other.Comment;
    MyCall = other.MyCall;
    Tx = other.Tx;
    QSOIndex = other.QSOIndex;
    ResetResults();
}

void TQSORecord::ParseQSOLine(std::string_view text) {
    ParseQSOLine(text, DefaultLogFormat());
}

namespace {

// The pieces at `indexes` joined by one blank; a missing piece counts as empty text, so that a missing
// second piece leaves a trailing blank.
std::string Joined(const std::vector<std::string>& p, const std::vector<int>& indexes) {
    std::string text;
    for (size_t k = 0; k < indexes.size(); ++k) {
        if (k > 0) text += ' ';
        const auto i = static_cast<size_t>(indexes[k]);
        if (i < p.size()) text += p[i];
    }
    return text;
}

} // namespace

void TQSORecord::ParseQSOLine(std::string_view text, const TLogFormat& format) {
    Clear();
    std::vector<std::string> p;
    p.reserve(12);
    if (!SplitQSOPieces(text, format.SplitTabs, p)) return;
    const TQSOTemplate& t = format.Template;
    const auto item = [&p, &t](TQSOPiece piece) -> const std::string& {
        static const std::string empty;
        const int i = t.IndexOf(piece);
        return i >= 0 && i < static_cast<int>(p.size()) ? p[static_cast<size_t>(i)] : empty;
    };
    Freq = UpperCase(item(TQSOPiece::Freq));
    Mode = UpperCase(item(TQSOPiece::Mode));
    SDate = item(TQSOPiece::Date);
    const std::string& time = item(TQSOPiece::Time);
    STime = time.substr(0, 2) + ":" + (time.size() > 2 ? time.substr(2, 2) : std::string());
    Call = UpperCase(item(TQSOPiece::Call));
    Send = UpperCase(Joined(p, t.SentIndexes()));
    Receive = UpperCase(Joined(p, t.RcvdIndexes()));
    MyCall = UpperCase(item(TQSOPiece::MyCall));
    Tx = UpperCase(item(TQSOPiece::Tx));
    // Control characters at a field's ends are dropped as the QSO list drops them from its cells, so a
    // record read from the file is the record the log check reads back from that list.
    const auto control = [](char c) { return static_cast<unsigned char>(c) < ' '; };
    for (std::string* field : {&Freq, &Mode, &SDate, &STime, &Call, &Send, &Receive, &MyCall, &Tx}) {
        size_t b = 0, e = field->size();
        while (b < e && control((*field)[b]))
            ++b;
        while (e > b && control((*field)[e - 1]))
            --e;
        if (b > 0 || e < field->size()) *field = field->substr(b, e - b);
    }
}

void TQSORecord::AssignAsListed(const TQSORecord& other) {
    Assign(other);
    const auto trimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    for (std::string* f : {&Freq, &Mode, &SDate, &STime, &Call, &Send, &Receive})
        if (!f->empty() && (trimmed(f->front()) || trimmed(f->back()))) *f = Trim(*f);
}

void TQSORecord::LoadFromRow(const TListRow* row) {
    Clear();
    if (!row) return;
    ResetResults();
    std::string* fields[] = {&Freq, &Mode, &SDate, &STime, &Call, &Send, &Receive, &Score, &Comment};
    for (size_t i = 0; i < 9 && i < row->Cells.size(); ++i)
        *fields[i] = Trim(row->Cells[i]);
    for (std::string* f : {&Freq, &Mode, &Call, &Send, &Receive})
        *f = UpperCase(*f);
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int Digit(char c) {
    return c - '0';
}

// The usual forms "yyyy-mm-dd" and "hh:mm" read without building any text; false sends the caller to
// the general reading.
bool TryFastDateTime(const std::string& date, const std::string& time, double& result) {
    if (date.size() != 10 || time.size() != 5 || time[2] != ':') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!IsDigit(date[static_cast<size_t>(i)])) return false;
    for (int i : {0, 1, 3, 4})
        if (!IsDigit(time[static_cast<size_t>(i)])) return false;
    const int y = Digit(date[0]) * 1000 + Digit(date[1]) * 100 + Digit(date[2]) * 10 + Digit(date[3]);
    const int mo = Digit(date[5]) * 10 + Digit(date[6]);
    const int d = Digit(date[8]) * 10 + Digit(date[9]);
    int days = 0;
    if (!EncodeDate(y, mo, d, days)) days = 0;
    const int h = Digit(time[0]) * 10 + Digit(time[1]);
    const int m = Digit(time[3]) * 10 + Digit(time[4]);
    result = days + h / 24 + ((h % 24) * 3600000.0 + m * 60000.0) / kMsPerDay;
    if (result < 0) result += 1;
    return true;
}

} // namespace

double TQSORecord::DateTime() const {
    double fast = 0;
    if (TryFastDateTime(SDate, STime, fast)) return fast;
    int h = 0, m = 0;
    if (!TryStrToInt(STime.substr(0, 2), h)) h = 0;
    if (STime.size() < 4 || !TryStrToInt(STime.substr(3, 2), m)) m = 0;
    const double date = DateTextToDays(SDate);
    // Integer division truncates toward zero for negative hours as well.
    double result = date + h / 24 + ((h % 24) * 3600000.0 + m * 60000.0) / kMsPerDay;
    if (result < 0) result += 1;
    return result;
}

int MinutesBetween(double a, double b) {
    long long dayA = 0, dayB = 0;
    int minA = 0, minB = 0;
    SplitMoment(a, dayA, minA);
    SplitMoment(b, dayB, minB);
    const long long diff = std::llabs((dayB - dayA) * 1440 + minB - minA);
    return diff > INT32_MAX ? INT32_MAX : static_cast<int>(diff);
}

int TimeDifference(const TQSORecord& a, const TQSORecord& b) {
    return MinutesBetween(a.DateTime(), b.DateTime());
}

bool TQSORecord::IsTimeClose(const TQSORecord& other, int maxMinutes) const {
    return TimeDifference(*this, other) <= maxMinutes;
}

} // namespace zelk
