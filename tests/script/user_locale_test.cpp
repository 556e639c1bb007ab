// The user's locale: translation of the environment's date and time formats, setters and the default.
#include "script/user_locale.h"

#include "logs/text.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

using namespace zelk;

namespace {

TEST(UserLocale, StrftimeFormatsTranslateIntoOurPatterns) {
    struct Case {
        const char* format;
        bool ok;
        std::string pattern;
    };
    const Case cases[] = {
        {"%d.%m.%Y", true, "dd.mm.yyyy"},
        {"%m/%d/%Y", true, "mm/dd/yyyy"},
        {"%m/%d/%y", true, "mm/dd/yy"},
        {"%Y-%m-%d", true, "yyyy-mm-dd"},
        {"%F", true, "yyyy-mm-dd"},
        {"%-d.%-m.%Y", true, "d.m.yyyy"},
        {"%e %B %Y", true, "d mmmm yyyy"},
        {"%a %d %b", true, "ddd dd mmm"},
        {"%H:%M:%S", true, "hh:nn:ss"},
        {"%T", true, "hh:nn:ss"},
        {"%I:%M:%S %p", true, "hh:nn:ss ampm"},
        {"%r", true, "hh:nn:ss ampm"},
        {"%k:%M", true, "h:nn"},
        {"%Hh%M", true, "hh\"h\"nn"}, // letters of the format are quoted text
        {"100%%", true, "100%"},
        {"%x", false, ""},
        {"%d.%m.%", false, ""},
    };
    for (const auto& c : cases) {
        std::string pattern;
        EXPECT_EQ(TranslateStrftimePattern(c.format, pattern), c.ok) << c.format;
        if (c.ok) {
            EXPECT_EQ(pattern, c.pattern) << c.format;
        }
    }
    // The formats come in UTF-8; their text turns into Windows-1251.
    std::string pattern;
    ASSERT_TRUE(TranslateStrftimePattern("%d.%m.%Y г.", pattern));
    EXPECT_EQ(pattern, std::string("dd.mm.yyyy ") + std::string("г"_cp) + ".");
}

TEST(UserLocale, DecimalSeparatorRefusesCharactersOfNumbers) {
    TUserLocaleOverride scope(TUserLocale{});
    for (char bad : {'5', '0', '+', '-', 'E', 'e', ' ', '\t', '\0'}) {
        EXPECT_FALSE(SetDecimalSeparator(bad)) << int(bad);
        EXPECT_EQ(UserLocale().DecimalSeparator, '.');
    }
    EXPECT_TRUE(SetDecimalSeparator(','));
    EXPECT_EQ(UserLocale().DecimalSeparator, ',');
}

TEST(UserLocale, OverrideRestoresThePreviousLocale) {
    TUserLocaleOverride outer(TUserLocale{});
    {
        TUserLocale l;
        l.ShortDateFormat = "yyyy-mm-dd";
        TUserLocaleOverride inner(l);
        EXPECT_EQ(UserLocale().ShortDateFormat, "yyyy-mm-dd");
    }
    EXPECT_EQ(UserLocale().ShortDateFormat, "dd.mm.yyyy");
}

// Sets an environment variable for the lifetime of the object.
class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~EnvironmentVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserLocale, PlainOrUnknownEnvironmentGivesTheFallbacks) {
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        EnvironmentVariable all("LC_ALL", name);
        const TUserLocale l = SystemUserLocale();
        EXPECT_EQ(l.DecimalSeparator, '.') << name;
        EXPECT_EQ(l.ThousandSeparator, ',') << name;
        EXPECT_EQ(l.ShortDateFormat, "dd.mm.yyyy") << name;
        EXPECT_EQ(l.DateSeparator, '.') << name;
        EXPECT_EQ(l.LongTimeFormat, "hh:nn:ss") << name;
        EXPECT_EQ(l.TimeSeparator, ':') << name;
        EXPECT_EQ(l.TrueWord, "True") << name;
        EXPECT_EQ(l.FalseWord, "False") << name;
    }
}

} // namespace
