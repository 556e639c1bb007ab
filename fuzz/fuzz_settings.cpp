// libFuzzer target for the settings file reader: the input is a zelk.ini. It is read as the contest's
// settings are read, and values written into it must read back the same after the text is parsed again.
#include "settings/global_vars.h"
#include "settings/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
}

// What a written value reads back as: line breaks become blanks.
std::string Expected(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The keys of the Settings section, as the contest settings read them.
    zelk::TZelkGlobalVars vars("/nonexistent-zelk-fuzz");
    vars.SetOverrides(text);
    vars.LoadContestSettings();

    zelk::TZelkIniFile ini(text);
    Check(zelk::TZelkIniFile(ini.Text()).Text() == ini.Text(), "the text changes when read again");

    // A value from the input itself (its second half), written and read back through the text.
    const std::string value = text.substr(size / 2);
    ini.WriteString("Settings", "FuzzValue", value);
    ini.WriteInteger("Fuzz Section", "Number", static_cast<int>(size) - 1000);
    ini.WriteBool("Settings", "MaxMinutesDifference", size % 2 == 1);
    const zelk::TZelkIniFile again(ini.Text());
    Check(again.ReadString("Settings", "FuzzValue", "<none>") == Expected(value),
          "a written value reads back changed");
    Check(again.ReadInteger("fuzz section", "NUMBER", 0) == static_cast<int>(size) - 1000,
          "a written number reads back changed");
    Check(again.ReadBool("SETTINGS", "maxminutesdifference", size % 2 == 0) == (size % 2 == 1),
          "a written flag reads back changed");
    return 0;
}
