// The log editor's printout: the lines of the editor as the rows of the log printout layout, with the
// file name and the current line as the variables "Файл" and "Строка".
#include "ui/edit_file_print.h"

#include "reports/report_catalogue.h"
#include "ui/edit_file.h"
#include "ui/explorer_reports.h"

namespace zelk::ui {

TEditFilePrint::TEditFilePrint(const TfmEditFile& editor) : editor_(editor) {
    frUserDataset.OnFirst = [this] { cursor_.First(); };
    frUserDataset.OnNext = [this] { cursor_.Next(); };
    frUserDataset.OnEof = [this] { return cursor_.Eof(lines_.size()); };
    frEditFile.SetDataset(kEditFileDataset, &frUserDataset);
    frEditFile.SetVariableCallback([this](const std::string& name, ScriptValue& value) {
        return EditFileVariable(name, editor_.FileName(), lines_, cursor_.Index(), value);
    });
}

void TEditFilePrint::TakeLines() {
    lines_ = editor_.Lines();
    cursor_.First();
}

rep::TfrReport& TfmEditFile::PrintReport() {
    if (!print_) print_ = std::make_unique<TEditFilePrint>(*this);
    print_->TakeLines();
    return print_->frEditFile;
}

void TfmEditFile::actPrintPreviewExecute() {
    PreviewReport(PrintReport(), rkEditFile, this);
}

// The designer on the log printout layout; saving there goes to the report's own file name, as the
// editor does not tie the component to the layout path.
void TfmEditFile::actDesignExecute() {
    DesignReport(PrintReport(), rkEditFile, false, this);
}

} // namespace zelk::ui
