// The six judging scripts: their items (caption, default text, file, help topic, source and compiled
// form, failure mark), the one script set that runs them through typed entry points, and the record and
// descriptor operations that cache their results.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace zelk {

class TQSORecord;
class TZelkCurrentFile;
class TZelkScriptEngine;
class TfrScript;
class ScriptValue;

enum class TScriptKind { CalcQSO, CalcMultiplier, CalcTotal, IsConfirmative, IsValidReceive, IsDuplicate };

class TZelkScriptItem {
  public:
    explicit TZelkScriptItem(TScriptKind kind);
    ~TZelkScriptItem();

    TScriptKind Kind() const { return kind_; }
    std::string GetCaption() const;
    std::string GetDefaultText() const;
    // The script's file, where the script editor saves it: "<user's folder>/script/<name>.txt" (or the
    // folder set with SetScriptFolder). Load reads the user's file, else the data folder's default.
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

    // Compiles (once per text) and runs the script on `engine`; reports compile and run errors once
    // and sets Failed. Does nothing while Failed is set.
    void Run(TZelkScriptEngine& engine);

  private:
    TScriptKind kind_;
    std::vector<std::string> lines_;
    std::unique_ptr<TfrScript> compiled_; // kept until the text changes
    bool compiledCurrent_ = false;
};

class TZelkScript {
  public:
    TZelkScript();
    ~TZelkScript();

    int CalcQSO(const TQSORecord& record);
    std::string CalcMultiplier(const TQSORecord& record);
    int CalcTotal(int score, int multi);
    bool IsConfirmative(const std::string& callSign, const TQSORecord& record, const TQSORecord& candidate);
    bool IsValidReceive(const std::string& callSign, const TQSORecord& record, const TQSORecord& candidate);
    bool IsDuplicate(const TQSORecord& record, const TQSORecord& earlier);

    TZelkScriptItem* FindItem(TScriptKind kind);
    const std::vector<std::unique_ptr<TZelkScriptItem>>& Items() const { return items_; }
    void ResetFailed();
    // Publishes the ten fields of `record` as variables named field + suffix.
    void SetRecordVariables(const TQSORecord& record, const std::string& suffix);
    TZelkScriptEngine& Engine() { return *engine_; }

  private:
    struct Handles;
    // Clears the store and defines Result with its initial value.
    void Begin(const ScriptValue& initial);
    // Runs the item and returns Result (the integer 0 when the script removed nothing but never defined it).
    ScriptValue Finish(TScriptKind kind);
    void SetRecord(const TQSORecord& record, int suffix);
    // The three tests of a pair of records; `callSign` (when given) is defined before the records.
    bool RunPairTest(TScriptKind kind, const std::string* callSign, const TQSORecord& record,
                     const TQSORecord& other);

    std::unique_ptr<TZelkScriptEngine> engine_;
    std::unique_ptr<Handles> handles_;
    std::vector<std::unique_ptr<TZelkScriptItem>> items_;
};

// The one script set of the run, created (and its scripts loaded) on first use.
TZelkScript& Scripts();
// Drops the script set so that the next use creates and loads it anew (tests, the command line).
void ResetScripts();
// Where the script files are read from; empty means the "script" folder next to the program.
void SetScriptFolder(const std::string& folder);

// The record and descriptor operations that run the scripts, with their caches.
int Points(TQSORecord& record);
std::string Criterion(TQSORecord& record);
bool IsConfirmedBy(const TQSORecord& record, const std::string& ownerCall, const TQSORecord& other);
bool IsReceiveValid(const TQSORecord& record, const std::string& ownerCall, const TQSORecord& other);
bool IsDuplicateOf(const TQSORecord& record, const TQSORecord& earlier);
int GetTotal(TZelkCurrentFile& file);

} // namespace zelk
