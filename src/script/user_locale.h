// The user's locale as the script language sees it: decimal and thousand separators, the short date
// and long time patterns with their separators, and the words of truth values. One object serves the run.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

// All texts are Windows-1251. The patterns use the language of FormatDateTime ("dd.mm.yyyy",
// "hh:nn:ss"); in them "/" and ":" stand for DateSeparator and TimeSeparator.
struct TUserLocale {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    std::string ShortDateFormat = "dd.mm.yyyy";
    char DateSeparator = '.';
    std::string LongTimeFormat = "hh:nn:ss";
    char TimeSeparator = ':';
    std::string TrueWord = "True";
    std::string FalseWord = "False";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
};

// The locale of the run. Until a setter is called it is SystemUserLocale().
const TUserLocale& UserLocale();
void SetUserLocale(const TUserLocale& locale);
// Takes the decimal separator; a digit, a sign, a blank or a letter is refused (false).
bool SetDecimalSeparator(char separator);
// Goes back to the locale of the environment.
void ResetUserLocale();

// The locale of the process environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG); every part that the
// environment leaves at "C"/"POSIX", or that cannot be expressed, keeps the value of TUserLocale{}.
TUserLocale SystemUserLocale();

// Translates a strftime date or time format ("%d.%m.%Y", "%I:%M:%S %p") into our pattern language
// ("dd.mm.yyyy", "hh:nn:ss ampm"); false for conversions that have no counterpart.
bool TranslateStrftimePattern(std::string_view format, std::string& pattern);

// Puts a locale in place for the lifetime of the object and restores the previous one afterwards
// (used by tests and by commands that take locale options).
class TUserLocaleOverride {
  public:
    explicit TUserLocaleOverride(const TUserLocale& locale);
    ~TUserLocaleOverride();
    TUserLocaleOverride(const TUserLocaleOverride&) = delete;
    TUserLocaleOverride& operator=(const TUserLocaleOverride&) = delete;

  private:
    TUserLocale saved_;
};

} // namespace zelk
