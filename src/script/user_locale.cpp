// The user's locale: the single object of the run, and its default read from the process environment.
#include "script/user_locale.h"

#include "logs/text.h"

#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace zelk {
namespace {

TUserLocale& Current() {
    static TUserLocale locale = SystemUserLocale();
    return locale;
}

// The locale name that the environment gives a category, by the usual order of precedence.
std::string EnvironmentLocaleName(const char* category) {
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

bool IsPlainC(const std::string& name) {
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Opens the environment's locale for one category, or gives nullptr when it is plain C or missing.
locale_t OpenLocale(int mask, const char* category) {
    const std::string name = EnvironmentLocaleName(category);
    if (IsPlainC(name)) return nullptr;
    return newlocale(mask, name.c_str(), nullptr);
}

// A separator given in UTF-8 as one Windows-1251 byte; the various Unicode spaces used between digit
// groups become the no-break space, which the code page has.
bool SeparatorChar(std::string_view utf8, char& c) {
    if (utf8 == "\u202F" || utf8 == "\u2009" || utf8 == "\u00A0") {
        c = '\xA0';
        return true;
    }
    const std::string s = FromUtf8(utf8);
    if (s.size() != 1 || (s[0] == '?' && utf8 != "?")) return false;
    c = s[0];
    return true;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The first character of a date pattern that separates its parts, outside quoted text.
char FirstSeparator(std::string_view pattern, char fallback) {
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (!IsLetter(c) && c != ' ') {
            return c;
        }
    }
    return fallback;
}

void ReadNumericPart(TUserLocale& locale) {
    const locale_t loc = OpenLocale(LC_NUMERIC_MASK, "LC_NUMERIC");
    if (!loc) return;
    char c = 0;
    if (SeparatorChar(nl_langinfo_l(RADIXCHAR, loc), c)) locale.DecimalSeparator = c;
    if (SeparatorChar(nl_langinfo_l(THOUSEP, loc), c)) locale.ThousandSeparator = c;
    freelocale(loc);
}

void ReadTimePart(TUserLocale& locale) {
    const locale_t loc = OpenLocale(LC_TIME_MASK, "LC_TIME");
    if (!loc) return;
    std::string pattern;
    if (TranslateStrftimePattern(nl_langinfo_l(D_FMT, loc), pattern) && !pattern.empty()) {
        locale.ShortDateFormat = pattern;
        locale.DateSeparator = FirstSeparator(pattern, locale.DateSeparator);
    }
    if (TranslateStrftimePattern(nl_langinfo_l(T_FMT, loc), pattern) && !pattern.empty()) {
        locale.LongTimeFormat = pattern;
        locale.TimeSeparator = FirstSeparator(pattern, locale.TimeSeparator);
    }
    const std::string am = FromUtf8(nl_langinfo_l(AM_STR, loc));
    const std::string pm = FromUtf8(nl_langinfo_l(PM_STR, loc));
    if (!am.empty() && !pm.empty()) {
        locale.TimeAMString = am;
        locale.TimePMString = pm;
    }
    freelocale(loc);
}

// Appends literal text of a strftime format so that our pattern reader leaves it as it is.
void AppendLiteral(std::string& pattern, std::string_view utf8) {
    for (char c : FromUtf8(utf8)) {
        if (c == '"')
            pattern += "'\"'";
        else if (c == '\'' || IsLetter(c))
            pattern += std::string("\"") + c + "\"";
        else
            pattern += c;
    }
}

// Our pattern for one strftime conversion; nullptr when there is none.
const char* Conversion(char conversion, bool unpadded) {
    switch (conversion) {
    case 'd':
        return unpadded ? "d" : "dd";
    case 'e':
        return "d";
    case 'm':
        return unpadded ? "m" : "mm";
    case 'y':
        return "yy";
    case 'Y':
        return "yyyy";
    case 'b':
    case 'h':
        return "mmm";
    case 'B':
        return "mmmm";
    case 'a':
        return "ddd";
    case 'A':
        return "dddd";
    case 'D':
        return "mm/dd/yy";
    case 'F':
        return "yyyy-mm-dd";
    case 'H':
    case 'I':
        return unpadded ? "h" : "hh";
    case 'k':
    case 'l':
        return "h";
    case 'M':
        return unpadded ? "n" : "nn";
    case 'S':
        return unpadded ? "s" : "ss";
    case 'p':
    case 'P':
        return "ampm";
    case 'r':
        return "hh:nn:ss ampm";
    case 'R':
        return "hh:nn";
    case 'T':
        return "hh:nn:ss";
    case 'n':
    case 't':
        return " ";
    case '%':
        return "%";
    default:
        return nullptr;
    }
}

} // namespace

bool TranslateStrftimePattern(std::string_view format, std::string& pattern) {
    pattern.clear();
    size_t i = 0;
    while (i < format.size()) {
        const size_t percent = format.find('%', i);
        AppendLiteral(pattern, format.substr(i, percent == std::string_view::npos ? percent : percent - i));
        if (percent == std::string_view::npos) break;
        i = percent + 1;
        bool unpadded = false;
        while (i < format.size() && std::string_view("-_0^#EO").find(format[i]) != std::string_view::npos)
            unpadded |= format[i++] == '-';
        if (i >= format.size()) return false;
        const char* ours = Conversion(format[i++], unpadded);
        if (!ours) return false;
        pattern += ours;
    }
    return true;
}

TUserLocale SystemUserLocale() {
    TUserLocale locale;
    ReadNumericPart(locale);
    ReadTimePart(locale);
    if (locale.ThousandSeparator == locale.DecimalSeparator)
        locale.ThousandSeparator = locale.DecimalSeparator == ',' ? '\xA0' : ',';
    return locale;
}

const TUserLocale& UserLocale() {
    return Current();
}

void SetUserLocale(const TUserLocale& locale) {
    Current() = locale;
}

bool SetDecimalSeparator(char separator) {
    const auto c = static_cast<unsigned char>(separator);
    if (c <= ' ' || (c >= '0' && c <= '9') || c == '+' || c == '-' || IsLetter(separator)) return false;
    Current().DecimalSeparator = separator;
    return true;
}

void ResetUserLocale() {
    Current() = SystemUserLocale();
}

TUserLocaleOverride::TUserLocaleOverride(const TUserLocale& locale) : saved_(UserLocale()) {
    SetUserLocale(locale);
}

TUserLocaleOverride::~TUserLocaleOverride() {
    SetUserLocale(saved_);
}

} // namespace zelk
