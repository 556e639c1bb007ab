// The services of the desktop that the core reaches through small interfaces: message boxes and the
// per-user key-value store. The desktop program, the command line and the tests each supply their own.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "logs/text.h"

namespace zelk {

// Message boxes. All texts are Windows-1251.
class IMessages {
  public:
    virtual ~IMessages() = default;
    // Information box; an empty caption means the default one.
    virtual void Info(const std::string& text, const std::string& caption) = 0;
    // Error box with the error icon; an empty caption means "Ошибка".
    virtual void Error(const std::string& text, const std::string& caption) = 0;
    // Question with Yes and No under "Подтвердите"; true for Yes.
    virtual bool Ask(const std::string& text) = 0;
    // Plain box without icon under the application title (the script layer's messages).
    virtual void Plain(const std::string& text) = 0;
};

// Default captions of the boxes.
inline const std::string& kInfoCaption = "Сообщение времени разработки..."_cp;
inline const std::string& kErrorCaption = "Ошибка"_cp;
inline const std::string& kAskCaption = "Подтвердите"_cp;

// The message boxes the desktop program installed (TMessagesInstaller), its documented single instance;
// the default writes every box to standard error and answers No. Only the program's edge uses it: script
// sets and judging commands are given the boxes they show.
IMessages& Messages();
// Installs `m` (not owned; it must outlive its use) and returns the previous one; nullptr restores the
// default.
IMessages* SetMessages(IMessages* m);

// Messages that write to standard error in UTF-8, one line per box; questions are answered No.
class StderrMessages : public IMessages {
  public:
    void Info(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    bool Ask(const std::string& text) override;
    void Plain(const std::string& text) override;
};

// Progress of a long pass over the logs (the main window's progress bar, a bar on a terminal, or nothing).
class IProgress {
  public:
    virtual ~IProgress() = default;
    // A pass over `count` logs begins: position 0, maximum count - 1.
    virtual void Start(int count) = 0;
    // The log at `position` (from 0) has been handled; the display may repaint.
    virtual void Step(int position) = 0;
    // The pass has ended, normally, with an error or cancelled.
    virtual void Finish() = 0;
    // True once the judge has asked to stop; a pass looks at it between two logs and then ends with
    // TZelkCancelled, keeping what it has done so far as an error would.
    virtual bool Cancelled() const { return false; }
    // The pass waits for logs judged on other threads: the display may repaint and take the judge's
    // "Отмена" (the pass still stops only between two logs). Called every few hundredths of a second
    // until the next log is done.
    virtual void Wait() {}
};

// The per-user store: named integer and string values, as the registry key of the program keeps them.
class IUserStore {
  public:
    virtual ~IUserStore() = default;
    virtual std::optional<int> ReadInteger(const std::string& name) = 0;
    virtual std::optional<std::string> ReadString(const std::string& name) = 0;
    virtual void WriteInteger(const std::string& name, int value) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// A store held in memory, for the command line and the tests. A value keeps the type it was written with;
// reading it as the other type gives nothing.
class MemoryUserStore : public IUserStore {
  public:
    std::optional<int> ReadInteger(const std::string& name) override;
    std::optional<std::string> ReadString(const std::string& name) override;
    void WriteInteger(const std::string& name, int value) override;
    void WriteString(const std::string& name, const std::string& value) override;

    const std::map<std::string, std::string>& Strings() const { return strings_; }
    const std::map<std::string, int>& Integers() const { return integers_; }

  private:
    std::map<std::string, int> integers_;
    std::map<std::string, std::string> strings_;
};

} // namespace zelk
