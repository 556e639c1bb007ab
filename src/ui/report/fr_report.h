// TfrReport: the report engine's face to the rest of the program. A report holds one layout (bands and
// text objects, read from and written to a layout file), the named datasets its bands iterate, and a
// callback that supplies the program's variables; it prepares pages from them, shows them in a preview
// window, prints and exports them, and opens a designer on its layout.
#pragma once

#include "script/script_value.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace zelk::rep {

// A dataset driven by the engine: First once, then Next after each row; Eof is asked before each row.
class TfrDataset {
public:
    virtual ~TfrDataset() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // The value of a field of the current row, for datasets that have fields; false when it has none.
    virtual bool FieldValue(const std::string& name, ScriptValue& value) const {
        (void)name;
        (void)value;
        return false;
    }
};

// A dataset over the program's own rows, driven through three functions.
class TfrUserDataset : public TfrDataset {
public:
    std::function<void()> OnFirst, OnNext;
    std::function<bool()> OnEof;
    void First() override;
    void Next() override;
    bool Eof() const override;
};

// A table in memory with named fields (field names matched without regard to letter case).
class TfrMemoryTable : public TfrDataset {
public:
    enum class TFieldKind { String, Integer };
    struct TField {
        std::string Name;
        TFieldKind Kind = TFieldKind::String;
        int Size = 0; // strings: the largest number of characters kept
    };
    void Close();                      // drops fields and records
    void AddField(const TField& field);
    void Open();
    void Append(std::vector<ScriptValue> record); // values in field order
    int RecordCount() const;
    void First() override;
    void Next() override;
    bool Eof() const override;
    bool FieldValue(const std::string& name, ScriptValue& value) const override;

private:
    std::vector<TField> fields_;
    std::vector<std::vector<ScriptValue>> records_;
    size_t current_ = 0;
    bool open_ = false;
};

// Asks the program for a variable (the name as the layout writes it, Windows-1251); false when the
// program has no such variable and the engine should go on looking.
using TfrVariableCallback = std::function<bool(const std::string& name, ScriptValue& value)>;

class TfrReportImpl;

class TfrReport {
public:
    TfrReport();
    ~TfrReport();
    TfrReport(const TfrReport&) = delete;
    TfrReport& operator=(const TfrReport&) = delete;

    // Loads a layout; a missing or unreadable file keeps the current layout and returns false, without
    // a message.
    bool LoadFromFile(const QString& path);
    // Writes the layout (through a temporary file); throws zelk::TZelkError on failure.
    void SaveToFile(const QString& path) const;
    // The layout's file name, which the designer saves to.
    QString FileName() const;
    void SetFileName(const QString& path);

    // Datasets by the name a layout's master-data band binds to (for example "frdsFilesList"); not owned.
    void SetDataset(const std::string& name, TfrDataset* dataset);
    void SetVariableCallback(TfrVariableCallback callback);

    // Prepares the pages from the layout and the datasets.
    void Prepare();
    // Prepares and shows the preview window (modal): zoom, pages, find, print, save/load of a prepared
    // report, export, help, close.
    void ShowPreview(QWidget* parent);
    // Opens the designer on the layout (modal); saving writes to FileName().
    void ShowDesigner(QWidget* parent);

    TfrReportImpl& Impl() { return *impl_; }

private:
    std::unique_ptr<TfrReportImpl> impl_;
};

} // namespace zelk::rep
