// The QSO viewer: the viewed row in the left column, the confirming record chosen by the core's test in
// the right one.
#include "ui/view_qso.h"

#include "judge/qso_search.h"
#include "judge/view_analysis.h"
#include "logs/contest.h"
#include "logs/qso_record.h"
#include "ui/command_guard.h"
#include "ui/desktop_judging.h"
#include "ui/qt_text.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zelk::ui {
namespace {

// The designed client area of the viewer.
constexpr QSize kClientSize(326, 366);
// With the analysis of the contact below the comment.
constexpr int kAnalysisHeight = 110;

// Row labels and the names of the left and right boxes, top to bottom.
struct TFieldRow {
    const char* label;
    const char* left;
    const char* right;
};
constexpr TFieldRow kRows[] = {
    {"CallSign:", "edFileName", "ed2FileName"},
    {"Index:", "edQSOIndex", "ed2QSOIndex"},
    {"Freq:", "edFreq", "ed2Freq"},
    {"Mode:", "edMode", "ed2Mode"},
    {"Date:", "edDate", "ed2Date"},
    {"Time:", "edTime", "ed2Time"},
    {"Call:", "edCall", "ed2Call"},
    {"Send:", "edSend", "ed2Send"},
    {"Receive:", "edReceive", "ed2Receive"},
};

QLineEdit* ReadOnlyBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setMinimumWidth(60);
    return box;
}

} // namespace

TfmViewQSO::TfmViewQSO(TZelkContest& contest, int row, const QRect& mainFrame, QWidget* owner)
    : QDialog(owner), contest_(contest), row_(row) {
    setObjectName(QStringLiteral("fmViewQSO"));
    setWindowTitle(QStringLiteral("QSO:"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    int line = 0;
    for (const TFieldRow& field : kRows) {
        grid->addWidget(new QLabel(QString::fromLatin1(field.label), this), line, 0);
        left_[static_cast<size_t>(line)] = ReadOnlyBox(field.left, this);
        right_[static_cast<size_t>(line)] = ReadOnlyBox(field.right, this);
        grid->addWidget(left_[static_cast<size_t>(line)], line, 1);
        grid->addWidget(right_[static_cast<size_t>(line)], line, 2);
        ++line;
    }
    grid->addWidget(new QLabel(QStringLiteral("Score:"), this), line, 0);
    edScore_ = ReadOnlyBox("edScore", this);
    QFont bold = edScore_->font();
    bold.setBold(true);
    edScore_->setFont(bold);
    grid->addWidget(edScore_, line, 1);
    ++line;
    auto* commentLabel = new QLabel(QStringLiteral("Comment:"), this);
    commentLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(commentLabel, line, 0);
    meComment_ = new QPlainTextEdit(this);
    meComment_->setObjectName(QStringLiteral("meComment"));
    meComment_->setReadOnly(true);
    QPalette darkRed = meComment_->palette();
    darkRed.setColor(QPalette::Text, QColor(128, 0, 0));
    meComment_->setPalette(darkRed);
    grid->addWidget(meComment_, line, 1, 1, 2);
    grid->setRowStretch(line, 1);
    ++line;
    meAnalysis_ = new QPlainTextEdit(this);
    meAnalysis_->setObjectName(QStringLiteral("meAnalysis"));
    meAnalysis_->setReadOnly(true);
    meAnalysis_->setLineWrapMode(QPlainTextEdit::NoWrap);
    meAnalysis_->setFixedHeight(kAnalysisHeight - 6);
    grid->addWidget(meAnalysis_, line, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    btnTest_ = new QPushButton(TZelkResources::Image(QStringLiteral("calc-qso")),
                               QStringLiteral("&Проверить"), this);
    btnTest_->setObjectName(QStringLiteral("btnTest"));
    btnTest_->setToolTip(QStringLiteral("Проверить запись..."));
    btnTest_->setDefault(true);
    btnClose_ = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    connect(btnTest_, &QPushButton::clicked, this, [this] { RunCommand([this] { Test(); }); });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnTest_);
    buttons->addWidget(btnClose_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    setFixedSize(kClientSize + QSize(80, kAnalysisHeight));
    ShowViewed(ViewedRecord(contest_, row_));
    PlaceOver(mainFrame);
}

// Centred over the main window; a negative top or left becomes the main window's own.
void TfmViewQSO::PlaceOver(const QRect& mainFrame) {
    int top = mainFrame.top() + mainFrame.height() / 2 - height() / 2;
    int left = mainFrame.left() + mainFrame.width() / 2 - width() / 2;
    if (top < 0) top = mainFrame.top();
    if (left < 0) left = mainFrame.left();
    move(left, top);
    KeepWholeOnScreen(this, mainFrame);
}

void TfmViewQSO::ShowViewed(const TQSORecord& record) {
    const std::string* fields[] = {&record.Freq, &record.Mode, &record.SDate,  &record.STime,
                                   &record.Call, &record.Send, &record.Receive};
    left_[1]->setText(QString::number(record.QSOIndex));
    for (size_t i = 0; i < std::size(fields); ++i)
        left_[i + 2]->setText(Qs(*fields[i]));
    edScore_->setText(Qs(record.Score));
    meComment_->setPlainText(Qs(record.Comment));
}

void TfmViewQSO::Test() {
    const TQSOViewTest t = TestQSO(contest_, Judging(), row_);
    left_[0]->setText(Qs(t.FileName));
    right_[0]->setText(Qs(t.CorrespondentFile));
    ShowViewed(t.Viewed);
    const std::string* texts[] = {&t.Index, &t.Freq, &t.Mode, &t.Date, &t.Time, &t.Call, &t.Send, &t.Receive};
    for (size_t i = 0; i < std::size(texts); ++i)
        right_[i + 1]->setText(Qs(*texts[i]));
    if (!t.OwnCallMissing) meAnalysis_->setPlainText(Qs(ViewedQSOAnalysis(contest_, Judging(), row_)));
}

void TfmViewQSO::done(int result) {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QDialog::done(result);
}

void ShowQSOViewer(TZelkContest& contest, int row, const QRect& mainFrame, QWidget* owner) {
    if (row < 0 || static_cast<size_t>(row) >= contest.QSOs.size()) return;
    TfmViewQSO viewer(contest, row, mainFrame, owner);
    viewer.exec();
}

} // namespace zelk::ui
