// The report object, its implementation and the two kinds of dataset.
#include "ui/report/fr_report.h"

#include "logs/error.h"
#include "logs/text.h"
#include "ui/qt_text.h"
#include "ui/report/fr_designer.h"
#include "ui/report/fr_preview.h"
#include "ui/report/fr_report_impl.h"
#include "ui/wait_cursor.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace zelk::rep {

// ---- datasets

void TfrUserDataset::First() {
    if (OnFirst) OnFirst();
}

void TfrUserDataset::Next() {
    if (OnNext) OnNext();
}

// Without an end-of-data function the dataset has no rows (rather than rows without end).
bool TfrUserDataset::Eof() const {
    return OnEof ? OnEof() : true;
}

void TfrMemoryTable::Close() {
    fields_.clear();
    records_.clear();
    current_ = 0;
    open_ = false;
}

void TfrMemoryTable::AddField(const TField& field) {
    if (open_) throw TZelkError("Нельзя добавить поле в открытую таблицу"_cp);
    const bool taken = std::any_of(fields_.begin(), fields_.end(),
                                   [&](const TField& f) { return SameText(f.Name, field.Name); });
    if (taken) throw TZelkError(FormatText("Поле %s уже есть в таблице"_cp, field.Name));
    fields_.push_back(field);
}

void TfrMemoryTable::Open() {
    records_.clear();
    current_ = 0;
    open_ = true;
}

// Values are kept in the field's kind: texts cut to the field's size, integers converted (an error when
// a value is no integer); missing values are empty texts or 0.
void TfrMemoryTable::Append(std::vector<ScriptValue> record) {
    if (!open_) throw TZelkError("Таблица не открыта"_cp);
    if (record.size() > fields_.size())
        throw TZelkError(FormatText("В записи больше значений, чем полей в таблице: %d"_cp,
                                    static_cast<long long>(record.size())));
    record.resize(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        ScriptValue& v = record[i];
        const TField& f = fields_[i];
        if (f.Kind == TFieldKind::Integer) {
            v = ScriptValue::Integer(v.IsNull() || v.IsEmpty() ? 0 : v.AsInteger());
        } else {
            std::string text = v.IsNull() || v.IsEmpty() ? std::string() : v.AsText();
            if (f.Size > 0 && text.size() > static_cast<std::size_t>(f.Size)) text.resize(f.Size);
            v = ScriptValue::Text(std::move(text));
        }
    }
    records_.push_back(std::move(record));
}

int TfrMemoryTable::RecordCount() const {
    return static_cast<int>(records_.size());
}

void TfrMemoryTable::First() {
    current_ = 0;
}

void TfrMemoryTable::Next() {
    if (current_ < records_.size()) ++current_;
}

bool TfrMemoryTable::Eof() const {
    return current_ >= records_.size();
}

bool TfrMemoryTable::FieldValue(const std::string& name, ScriptValue& value) const {
    if (Eof()) return false;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (!SameText(fields_[i].Name, name)) continue;
        value = records_[current_][i];
        return true;
    }
    return false;
}

// ---- the implementation

void TfrReportImpl::SetLayout(TfrLayout layout) {
    NormalizeLayout(layout);
    layout_ = std::move(layout);
}

bool TfrReportImpl::Load(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        loadError_ = path.isEmpty() ? QStringLiteral("имя файла не задано") : file.errorString();
        return false;
    }
    TfrLayout layout;
    if (!LayoutFromXml(file.readAll(), layout, loadError_)) return false;
    layout_ = std::move(layout);
    fileName_ = path;
    loadError_.clear();
    return true;
}

void TfrReportImpl::Save(const QString& path) const {
    const QByteArray xml = LayoutToXml(layout_);
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size() && file.commit();
    if (!ok)
        throw TZelkError("Не удалось сохранить макет отчёта "_cp + ui::Cp(path) + ": " +
                         ui::Cp(file.errorString()));
}

void TfrReportImpl::Prepare(const TfrPrepareOptions& options) {
    prepared_ = PrepareReport(layout_, sources_, options);
}

// ---- the report

TfrReport::TfrReport() : impl_(std::make_unique<TfrReportImpl>()) {}

TfrReport::~TfrReport() = default;

bool TfrReport::LoadFromFile(const QString& path) {
    return impl_->Load(path);
}

void TfrReport::SaveToFile(const QString& path) const {
    impl_->Save(path);
}

QString TfrReport::FileName() const {
    return impl_->FileName();
}

void TfrReport::SetFileName(const QString& path) {
    impl_->SetFileName(path);
}

void TfrReport::SetDataset(const std::string& name, TfrDataset* dataset) {
    impl_->Sources().Set(name, dataset);
}

void TfrReport::SetVariableCallback(TfrVariableCallback callback) {
    impl_->Sources().Variables = std::move(callback);
}

void TfrReport::Prepare() {
    impl_->Prepare();
}

void TfrReport::ShowPreview(QWidget* parent) {
    {
        // Preparing may take a while over a large contest.
        ui::TWaitCursor wait;
        impl_->Prepare();
    }
    TfrPreviewForm preview(impl_->Prepared(), parent);
    if (!impl_->FileName().isEmpty())
        preview.SetDocumentName(QFileInfo(impl_->FileName()).completeBaseName());
    preview.exec();
}

void TfrReport::ShowDesigner(QWidget* parent) {
    TfrDesignerForm designer(*impl_, parent);
    designer.exec();
}

} // namespace zelk::rep
