// The six judging scripts: their items (caption, default text, file, help topic, source and compiled
// form, failure mark), the script set that runs them through typed entry points, and the record and
// descriptor operations that cache their results. A script set is an object of the program's edge (the
// window keeps one, the command line one per run, each test its own): it is given the folder of its
// files and the message boxes of its errors and of ShowMessage, and judging gets it passed in.
#pragma once

#include "settings/app_paths.h"
#include "settings/judging_settings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelk {

class IMessages;
class TQSORecord;
class TZelkCurrentFile;
class TZelkScriptEngine;
class TfrScript;
class ScriptValue;

// Where a script set's files are: a folder of its own (zelkon-cli --scripts, the tests), read and saved
// alike, or else the "script" folders of the program's paths (the user's saved script, else the data
// folder's default).
struct TScriptFiles {
    std::string Folder;
    std::optional<TZelkAppPaths> Paths;

    TScriptFiles() = default;
    TScriptFiles(std::string folder) : Folder(std::move(folder)) {}
    TScriptFiles(const char* folder) : Folder(folder) {}
    TScriptFiles(const TZelkAppPaths& paths) : Paths(paths) {}
    TScriptFileLocation Locate(const std::string& fileName) const;
};

enum class TScriptKind { CalcQSO, CalcMultiplier, CalcTotal, IsConfirmative, IsValidReceive, IsDuplicate };

class TZelkScriptItem {
  public:
    // An item whose file `files` locate.
    explicit TZelkScriptItem(TScriptKind kind, TScriptFiles files = {});
    ~TZelkScriptItem();

    TScriptKind Kind() const { return kind_; }
    std::string GetCaption() const;
    std::string GetDefaultText() const;
    // The script's file, where the script editor saves it: "<folder>/<name>.txt" of a set with a folder of
    // its own, else "<user's folder>/script/<name>.txt". Load reads the user's file, else the data
    // folder's default.
    std::string GetFileName() const;
    std::string GetHelpTopic() const;

    // Reads the file when it exists, else takes the default text; clears Failed.
    void Load();
    // The source, each line followed by CR LF.
    std::string GetText() const;
    // Replaces the source (split into lines) and clears Failed.
    void SetText(const std::string& text);
    const std::vector<std::string>& Lines() const { return lines_; }

    bool Failed = false;

    // Compiles the text on `engine` unless its compiled form is current; reports compile errors through
    // `messages` once and sets Failed. False while Failed is set.
    bool Prepare(TZelkScriptEngine& engine, IMessages& messages);
    // The input variables of the entry points that the compiled script can read, one bit each (valid
    // after Prepare): the twelve record fields, the twelve with suffix "2", CallSign, Multi, Accepted2,
    // Reason and MaxMinutesDifference. Every bit is set
    // for a script that calls a function which could reach a variable it does not name.
    std::uint32_t Inputs() const { return inputs_; }
    // Runs the compiled script on `engine`; a run error is reported through `messages` once and sets
    // Failed.
    void Execute(TZelkScriptEngine& engine, IMessages& messages);
    // Prepare, then Execute. Does nothing while Failed is set.
    void Run(TZelkScriptEngine& engine, IMessages& messages);

  private:
    friend class TZelkScript;
    TScriptKind kind_;
    TScriptFiles files_;
    std::vector<std::string> lines_;
    std::unique_ptr<TfrScript> compiled_; // kept until the text changes
    bool compiledCurrent_ = false;
    std::uint32_t inputs_ = ~0u;
};

class TZelkScript {
  public:
    // The six scripts, each read from its file as `files` locate it or else its default text; compile and run
    // errors and ShowMessage go to `messages`, which must outlive the set.
    TZelkScript(TScriptFiles files, IMessages& messages);
    ~TZelkScript();
    TZelkScript(const TZelkScript&) = delete;
    TZelkScript& operator=(const TZelkScript&) = delete;

    // A set with the same texts and failure marks and an engine and variable store of its own, so that
    // two threads can judge at once, each with its own set.
    std::unique_ptr<TZelkScript> Clone() const;
    // The same with its compile and run errors and ShowMessage going to `messages`, which must outlive
    // the copy.
    std::unique_ptr<TZelkScript> Clone(IMessages& messages) const;
    // True when any script is marked failed.
    bool AnyFailed() const;
    // Reads the six scripts again, from their files as `files` locate them or else their defaults; the set
    // and its items stay the same objects.
    void Load(TScriptFiles files);

    // The entry points. Every one defines MaxMinutesDifference for a script that reads it. Those with
    // `reason` start the script's Reason empty and give back the text it leaves there (empty when none,
    // or when the script failed). IsDuplicate defines Accepted2 from `accepted2` when given.
    int CalcQSO(const TQSORecord& record, std::string* reason = nullptr);
    std::string CalcMultiplier(const TQSORecord& record);
    int CalcTotal(int score, int multi);
    bool IsConfirmative(const std::string& callSign, const TQSORecord& record, const TQSORecord& candidate);
    bool IsValidReceive(const std::string& callSign, const TQSORecord& record, const TQSORecord& candidate,
                        std::string* reason = nullptr);
    bool IsDuplicate(const TQSORecord& record, const TQSORecord& earlier, const bool* accepted2 = nullptr,
                     std::string* reason = nullptr);

    // The value the scripts read as MaxMinutesDifference: the setting of the judging that uses the set
    // (the judge of a command passes it in), the setting's default until then.
    void SetMaxMinutesDifference(int minutes);
    int MaxMinutesDifference() const { return maxMinutes_; }
    // True when the compiled IsDuplicate can read Accepted2, so that a check must keep the verdicts of
    // the earlier records; compiles the script (reporting its errors once) when it is not yet compiled.
    bool IsDuplicateReadsAccepted2();

    TZelkScriptItem* FindItem(TScriptKind kind);
    const std::vector<std::unique_ptr<TZelkScriptItem>>& Items() const { return items_; }
    void ResetFailed();
    // Publishes the ten fields of `record` as variables named field + suffix.
    void SetRecordVariables(const TQSORecord& record, const std::string& suffix);
    TZelkScriptEngine& Engine() { return *engine_; }
    const TScriptFiles& Files() const { return files_; }

  private:
    struct Handles;
    struct TNoFiles {};
    // The six items with their default texts, no file read.
    TZelkScript(TScriptFiles files, IMessages& messages, TNoFiles);
    // The common steps of an entry point: the store cleared, Result defined with `initial`, the script
    // compiled, its inputs defined by `define` (given the item's Inputs(), so that only what the script
    // can read is defined), the script run; returns Result.
    template <class Define>
    ScriptValue RunEntry(TScriptKind kind, const ScriptValue& initial, Define&& define,
                         std::string* reason = nullptr);
    // Defines the fields of `record` that `inputs` holds, named field + suffix ("" for 0, "2" for 1).
    void SetRecord(const TQSORecord& record, int suffix, std::uint32_t inputs);
    // The three tests of a pair of records; `callSign` (when given) is defined before the records.
    bool RunPairTest(TScriptKind kind, const std::string* callSign, const TQSORecord& record,
                     const TQSORecord& other, const bool* accepted2, std::string* reason);

    TScriptFiles files_;
    IMessages& messages_;
    std::unique_ptr<TZelkScriptEngine> engine_;
    std::unique_ptr<Handles> handles_;
    std::vector<std::unique_ptr<TZelkScriptItem>> items_;
    int maxMinutes_ = TZelkJudgingSettings().MaxMinutesDifference;
};

// The record and descriptor operations that run the scripts of `scripts`, with their caches. Points
// keeps the Reason that CalcQSO left in the record's CachedReason.
int Points(TZelkScript& scripts, TQSORecord& record);
std::string Criterion(TZelkScript& scripts, TQSORecord& record);
bool IsConfirmedBy(TZelkScript& scripts, const TQSORecord& record, const std::string& ownerCall,
                   const TQSORecord& other);
bool IsReceiveValid(TZelkScript& scripts, const TQSORecord& record, const std::string& ownerCall,
                    const TQSORecord& other, std::string* reason = nullptr);
bool IsDuplicateOf(TZelkScript& scripts, const TQSORecord& record, const TQSORecord& earlier,
                   const bool* accepted2 = nullptr, std::string* reason = nullptr);
int GetTotal(TZelkScript& scripts, TZelkCurrentFile& file);

} // namespace zelk
