// Default message boxes (standard error) and the in-memory per-user store.
#include "settings/platform.h"

#include "logs/text.h"

#include <iostream>

namespace zelk {
namespace {

StderrMessages& DefaultMessages() {
    static StderrMessages m;
    return m;
}

IMessages* g_messages = nullptr;

void WriteBox(std::string_view caption, const std::string& text) {
    std::cerr << ToUtf8(caption) << ": " << ToUtf8(text) << std::endl;
}

} // namespace

IMessages& Messages() {
    return g_messages ? *g_messages : DefaultMessages();
}

IMessages* SetMessages(IMessages* m) {
    IMessages* old = g_messages;
    g_messages = m;
    return old;
}

void StderrMessages::Info(const std::string& text, const std::string& caption) {
    WriteBox(caption.empty() ? kInfoCaption : caption, text);
}

void StderrMessages::Error(const std::string& text, const std::string& caption) {
    WriteBox(caption.empty() ? kErrorCaption : caption, text);
}

bool StderrMessages::Ask(const std::string& text) {
    WriteBox(kAskCaption, text);
    return false;
}

void StderrMessages::Plain(const std::string& text) {
    std::cerr << ToUtf8(text) << std::endl;
}

std::optional<int> MemoryUserStore::ReadInteger(const std::string& name) {
    auto it = integers_.find(name);
    if (it == integers_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> MemoryUserStore::ReadString(const std::string& name) {
    auto it = strings_.find(name);
    if (it == strings_.end()) return std::nullopt;
    return it->second;
}

void MemoryUserStore::WriteInteger(const std::string& name, int value) {
    strings_.erase(name);
    integers_[name] = value;
}

void MemoryUserStore::WriteString(const std::string& name, const std::string& value) {
    integers_.erase(name);
    strings_[name] = value;
}

} // namespace zelk
