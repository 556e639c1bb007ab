// Invented names, clubs, addresses and remarks for the log headers, in Windows-1251.
#include "log_form.h"
#include "logs/text.h"
#include "random.h"

#include <string_view>

namespace zelk::gen {

namespace {

const std::vector<std::string_view> kMaleNames = {
    "Алексей"_cp, "Борис"_cp,  "Вадим"_cp, "Глеб"_cp, "Дмитрий"_cp, "Евгений"_cp, "Игорь"_cp,
    "Леонид"_cp,  "Никита"_cp, "Олег"_cp,  "Пётр"_cp, "Роман"_cp,   "Тимур"_cp,   "Юрий"_cp,
};
const std::vector<std::string_view> kFemaleNames = {
    "Жанна"_cp, "Ксения"_cp, "Мария"_cp, "Светлана"_cp, "Елена"_cp,
};
const std::vector<std::string_view> kSurnames = {
    "Берёзкин"_cp, "Ветров"_cp,   "Громов"_cp,  "Дубравин"_cp, "Журавлёв"_cp, "Зимин"_cp,
    "Клёнов"_cp,   "Лесков"_cp,   "Морозов"_cp, "Ночкин"_cp,   "Озёров"_cp,   "Полянский"_cp,
    "Рябинин"_cp,  "Снегирёв"_cp, "Тучков"_cp,  "Ясенев"_cp,
};
const std::vector<std::string_view> kLatinNames = {
    "Ivan Ozerov", "Pavel Vetrov", "Anna Zimina", "Oleg Gromov", "Sergei Lesk", "Nina Polyanskaya",
};
const std::vector<std::string_view> kClubs = {
    "Радиоклуб «Полярная звезда»"_cp,   "Клуб «Северный ветер»"_cp,
    "Клуб любителей телеграфа"_cp,      "Радиоклуб «Эфир»"_cp,
    "Школьная радиостанция «Искра»"_cp, "Клуб «Ключ и паяльник»"_cp,
};
const std::vector<std::string_view> kStreets = {
    "ул. Лесная"_cp, "ул. Садовая"_cp, "пр. Мира"_cp, "ул. Речная"_cp, "пер. Тихий"_cp, "ул. Школьная"_cp,
};
const std::vector<std::string_view> kTowns = {
    "г. Сосновогорск"_cp, "пос. Берёзовый"_cp, "г. Красноборск"_cp,
    "с. Ольховка"_cp,     "г. Озёрный"_cp,     "г. Светлоярск"_cp,
};
const std::vector<std::string_view> kSoapboxes = {
    "Спасибо всем за связи!"_cp,
    "Хорошее прохождение на 40 м, на 20 м тишина."_cp,
    "Первый раз в соревнованиях, всем 73!"_cp,
    "Антенна — диполь на крыше, 100 Вт."_cp,
    "TNX FOR THE CONTEST, CU NEXT YEAR",
};

// A woman's surname: Полянский becomes Полянская, Громов becomes Громова.
std::string FemaleSurname(std::string_view male) {
    const std::string_view ending = "ий"_cp;
    if (male.size() > ending.size() && male.substr(male.size() - ending.size()) == ending)
        return std::string(male.substr(0, male.size() - ending.size())) + std::string("ая"_cp);
    return std::string(male) + std::string("а"_cp);
}

std::string PickName(TGenRandom& rnd) {
    if (rnd.Chance(1500)) return std::string(rnd.Pick(kLatinNames));
    // Each draw is a statement of its own: the operands of one "+" may be evaluated in either order,
    // and the contest must not depend on the compiler. The surname is drawn first.
    const bool female = rnd.Chance(2000);
    const std::string surname(rnd.Pick(kSurnames));
    if (female) return std::string(rnd.Pick(kFemaleNames)) + " " + FemaleSurname(surname);
    return std::string(rnd.Pick(kMaleNames)) + " " + surname;
}

std::string PickUnknownTag(TGenRandom& rnd, const TGenStation& st) {
    const std::string town(rnd.Pick(kTowns));
    switch (rnd.Below(4)) {
    case 0:
        return "CATEGORY-OPERATOR: SINGLE-OP";
    case 1:
        return "X-QTH: " + town;
    case 2:
        return "LOCATION: " + town;
    default:
        return "EMAIL: " + LowerAscii(st.baseCall) + "@example.org";
    }
}

TGenLogForm MakeForm(const TGenOptions& o, const TGenStation& st, int index) {
    TGenRandom rnd(o.seed, kStreamForms + static_cast<uint64_t>(index));
    TGenLogForm form;
    // Mostly upper-case names with an upper-case extension; some lower-case ones, which a judge's
    // program must find all the same.
    const uint64_t nameCase = rnd.Below(100);
    form.fileName = st.baseCall + (nameCase < 75 ? ".CBR" : ".cbr");
    if (nameCase >= 92) form.fileName = LowerAscii(form.fileName);
    form.unknownTag = PickUnknownTag(rnd, st);
    form.name = PickName(rnd);
    if (rnd.Chance(7000)) form.club = std::string(rnd.Pick(kClubs));
    const std::string town(rnd.Pick(kTowns)); // drawn one at a time, like the name
    const int house = rnd.Range(1, 120);
    form.address = std::string(rnd.Pick(kStreets)) + ", " + std::to_string(house) + ", " + town;
    if (rnd.Chance(3000)) form.soapbox = std::string(rnd.Pick(kSoapboxes));
    form.assisted = rnd.Chance(8000) ? "NON-ASSISTED" : "ASSISTED";
    if (rnd.Chance(1000)) form.overlay = "ROOKIE";
    return form;
}

// A counted share of `pool`, drawn from `rnd`; `taken` (when given) keeps logs of another choice out.
std::vector<char> Choose(TGenRandom& rnd, std::vector<int> pool, size_t stations, size_t count,
                         const std::vector<char>* taken = nullptr) {
    std::vector<char> chosen(stations, 0);
    if (taken) std::erase_if(pool, [&](int i) { return (*taken)[i] != 0; });
    rnd.Shuffle(pool);
    for (size_t k = 0; k < count && k < pool.size(); ++k)
        chosen[pool[k]] = 1;
    return chosen;
}

// The forms of logs as participants send them, from a stream of their own so that the logs of the
// cleaned copy are the ones the generator always wrote. Only logs with a CALLSIGN: line get another
// name or a copy: a judge's program can find those by what they say.
void MakeArrivalForms(const TGenOptions& o, const TGenContest& contest, const std::vector<int>& logs,
                      std::vector<TGenLogForm>& forms) {
    TGenRandom rnd(o.seed, kStreamArrivalForms);
    std::vector<int> withCall;
    for (int i : logs)
        if (!contest.stations[i].noCallsign) withCall.push_back(i);
    const size_t n = forms.size();
    const auto mixed = Choose(rnd, logs, n, RateCount(logs.size(), o.mixedExtBp));
    const auto utf16 = Choose(rnd, logs, n, RateCount(logs.size(), o.utf16Bp));
    const auto utf8 = Choose(rnd, logs, n, RateCount(logs.size(), o.utf8Bp), &utf16);
    const auto tabs = Choose(rnd, logs, n, RateCount(logs.size(), o.tabsBp));
    const auto odd = Choose(rnd, withCall, n, RateCount(withCall.size(), o.oddNamesBp));
    const auto copied = Choose(rnd, withCall, n, static_cast<size_t>(o.duplicates));
    constexpr zelk::TTextEncoding kUtf16[] = {zelk::TTextEncoding::Utf16LEBom, zelk::TTextEncoding::Utf16LE,
                                              zelk::TTextEncoding::Utf16BEBom, zelk::TTextEncoding::Utf16BE};
    for (int i : logs) {
        TGenLogForm& form = forms[i];
        const TGenStation& st = contest.stations[i];
        const size_t dot = form.fileName.rfind('.');
        std::string stem = form.fileName.substr(0, dot), ext = form.fileName.substr(dot);
        // Each draw a statement of its own, in a fixed order, whichever forms the log gets.
        const uint64_t extDraw = rnd.Below(2);
        const uint64_t encodingDraw = rnd.Below(4);
        const uint64_t separatorDraw = rnd.Below(3);
        form.mixedExt = mixed[i];
        if (form.mixedExt) ext = extDraw == 0 ? ".log" : ".LOG";
        form.oddName = odd[i];
        if (form.oddName) stem = st.call != st.baseCall ? stem + "_p" : stem + " ";
        form.arrivalName = stem + ext;
        if (copied[i]) form.copyName = stem + "_" + ext;
        if (utf16[i]) form.encoding = kUtf16[encodingDraw];
        if (utf8[i])
            form.encoding = encodingDraw % 2 == 0 ? zelk::TTextEncoding::Utf8Bom : zelk::TTextEncoding::Utf8;
        form.tabs = tabs[i] && separatorDraw != 0;
        form.noBreak = tabs[i] && separatorDraw == 0;
    }
}

} // namespace

std::vector<TGenLogForm> MakeLogForms(const TGenOptions& options, const TGenContest& contest) {
    std::vector<TGenLogForm> forms(contest.stations.size());
    std::vector<int> logs;
    for (size_t i = 0; i < contest.stations.size(); ++i) {
        if (!contest.stations[i].sendsLog) continue;
        forms[i] = MakeForm(options, contest.stations[i], static_cast<int>(i));
        logs.push_back(static_cast<int>(i));
    }
    // The odd forms go to a counted share of the logs, like the faults, so a small contest has them too.
    TGenRandom rnd(options.seed, kStreamOddForms);
    const auto choose = [&](int basisPoints) {
        std::vector<char> chosen(forms.size(), 0);
        rnd.Shuffle(logs);
        for (size_t k = 0; k < RateCount(logs.size(), basisPoints); ++k)
            chosen[logs[k]] = 1;
        return chosen;
    };
    const auto lower = choose(options.lowerBp), lfOnly = choose(options.lfOnlyBp);
    const auto withTag = choose(options.unknownTagsBp);
    for (int i : logs) {
        forms[i].lowerCase = lower[i];
        forms[i].lfOnly = lfOnly[i];
        if (!withTag[i]) forms[i].unknownTag.clear();
    }
    MakeArrivalForms(options, contest, logs, forms);
    return forms;
}

std::string LowerAscii(std::string s) {
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

std::string EncodingRemark(zelk::TTextEncoding encoding) {
    switch (encoding) {
    case zelk::TTextEncoding::Utf8:
        return "UTF-8";
    case zelk::TTextEncoding::Utf8Bom:
        return "UTF-8 with BOM";
    case zelk::TTextEncoding::Utf16LE:
        return "UTF-16 LE";
    case zelk::TTextEncoding::Utf16LEBom:
        return "UTF-16 LE with BOM";
    case zelk::TTextEncoding::Utf16BE:
        return "UTF-16 BE";
    case zelk::TTextEncoding::Utf16BEBom:
        return "UTF-16 BE with BOM";
    case zelk::TTextEncoding::Cp1251:
        break;
    }
    return "Windows-1251";
}

std::string UnknownTagName(const TGenLogForm& form) {
    const size_t colon = form.unknownTag.find(':');
    return colon == std::string::npos ? std::string() : form.unknownTag.substr(0, colon + 1);
}

} // namespace zelk::gen
