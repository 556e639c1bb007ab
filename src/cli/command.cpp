// The command registry and the argument helpers shared by the commands.
#include "cli/command.h"

#include "logs/text.h"

#include <iostream>

namespace zelk::cli {

namespace {
std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}
} // namespace

void RegisterCommand(CliCommand command) {
    Registry().push_back(std::move(command));
}
const std::vector<CliCommand>& Commands() {
    return Registry();
}

std::vector<std::string> TakeOptions(std::vector<std::string>& args, std::string_view name) {
    std::vector<std::string> values;
    const std::string flag = "--" + std::string(name);
    for (size_t i = 0; i < args.size();) {
        if (args[i] == flag) {
            if (i + 1 >= args.size()) throw UsageError{"option " + flag + " needs a value"};
            values.push_back(args[i + 1]);
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        } else if (args[i].rfind(flag + "=", 0) == 0) {
            values.push_back(args[i].substr(flag.size() + 1));
            args.erase(args.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return values;
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, std::string_view name) {
    auto values = TakeOptions(args, name);
    if (values.empty()) return std::nullopt;
    return values.back();
}

bool TakeFlag(std::vector<std::string>& args, std::string_view name) {
    const std::string flag = "--" + std::string(name);
    bool found = false;
    for (size_t i = 0; i < args.size();) {
        if (args[i] == flag) {
            found = true;
            args.erase(args.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return found;
}

void RejectUnknownOptions(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a.size() > 2 && a.rfind("--", 0) == 0) throw UsageError{"unknown option " + a};
}

void PrintText(std::string_view cp1251, bool raw) {
    if (raw)
        std::cout.write(cp1251.data(), static_cast<std::streamsize>(cp1251.size()));
    else
        std::cout << ToUtf8(cp1251);
}

} // namespace zelk::cli
