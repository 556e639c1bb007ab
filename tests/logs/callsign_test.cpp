// Callsign shapes and base calls, as real logs write them and as miscopied exchanges do not.
#include "logs/callsign.h"

#include <gtest/gtest.h>

using namespace zelk;

TEST(CallSign, ShapeOfCallsAndOfWhatIsNot) {
    const std::pair<const char*, bool> cases[] = {
        {"Q1AB", true},       {"q1ab", true},      {"Q5O", true},    {"Q0AR", true},
        {"UA9CDC", true},     {"2E0ABC", true},    {"9A1A", true},   {"3DA0RS", true},
        {"Q5O/P", true},      {"Q1AB/QRP", true},  {"Q1AB/3", true}, {"Q1AB/MM", true},
        {"Q2/Q1AB", true},    {"Q2/Q1AB/P", true}, {"045", false},   {"599", false},
        {"5NN", false},       {"", false},         {"Q1", false},    {"Q1AB/", false},
        {"Q1AB/PORT", false}, {"Q1AB/P/P", false}, {"Q1 AB", false}, {"Q1AB ", false},
        {"Q1ABCDE", false},   {"22A", false},      {"/Q1AB", false}, {"Q1AB//P", false},
        {"Q1AB-P", false},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(IsCallSignShape(text), expected) << text;
}

TEST(CallSign, BaseCallIsThePieceShapedLikeACall) {
    const std::pair<const char*, const char*> cases[] = {
        {"Q1AB", "Q1AB"},     {"q1ab/p", "Q1AB"},
        {"Q1AB/QRP", "Q1AB"}, {"Q1AB/3", "Q1AB"},
        {"Q2/Q1AB", "Q1AB"},  {"Q2/Q1AB/P", "Q1AB"},
        {" Q1AB/P ", "Q1AB"}, {"045", "045"},
        {"X9X/P", "X9X"},     {"", ""},
    };
    for (const auto& [call, base] : cases)
        EXPECT_EQ(BaseCall(call), base) << call;
}
