// Commands of zelkon-cli: each command lives in its own file and registers itself here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk::cli {

struct CliCommand {
    std::string name;
    std::string synopsis;    // "list FOLDER"
    std::string description; // what it does, its options; may span lines
    int (*run)(std::vector<std::string>& args);
};

void RegisterCommand(CliCommand command);
const std::vector<CliCommand>& Commands();

struct CommandRegistrar {
    explicit CommandRegistrar(CliCommand command) { RegisterCommand(std::move(command)); }
};

// Removes "--name VALUE" (or "--name=VALUE") from `args` and returns VALUE; the last one wins.
// A missing value raises an error.
std::optional<std::string> TakeOption(std::vector<std::string>& args, std::string_view name);
// Removes every "--name VALUE" and returns the values in order.
std::vector<std::string> TakeOptions(std::vector<std::string>& args, std::string_view name);
// Removes "--name" and tells whether it was there.
bool TakeFlag(std::vector<std::string>& args, std::string_view name);
// Raises an error when an argument that starts with "--" is left.
void RejectUnknownOptions(const std::vector<std::string>& args);

// Writes Windows-1251 text to standard output, converted to UTF-8 unless `raw`.
void PrintText(std::string_view cp1251, bool raw = false);

// An error of the command line itself (bad arguments): its message is UTF-8 and the exit status is 1.
struct UsageError {
    std::string message;
};

} // namespace zelk::cli
