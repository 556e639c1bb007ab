// The settings dialog: three pages of controls bound to the settings object, saved on "ОК".
#include "ui/options_dialog.h"

#include "logs/qso_format.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/desktop_judging.h"
#include "ui/help_topic.h"
#include "ui/qt_text.h"
#include "ui/zelk_resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace zelk::ui {
namespace {

constexpr int kSpinMin = 1;
constexpr int kSpinMax = 100;

// A number box whose text may be anything while the judge types; when the text is taken, a number
// outside the range is brought to the nearest end of it and a text that is no number gives back the
// last number the box held.
class TRangeSpinBox : public QSpinBox {
  public:
    TRangeSpinBox(const char* name, QWidget* parent) : QSpinBox(parent) {
        setObjectName(QString::fromLatin1(name));
        setRange(kSpinMin, kSpinMax);
        setAccelerated(true);
        setMinimumWidth(60);
    }

  protected:
    QValidator::State validate(QString& text, int&) const override {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
    }

    void fixup(QString& text) const override {
        const QString t = text.trimmed();
        const bool digits = !t.isEmpty() && std::all_of(t.begin() + (t.startsWith(u'-') ? 1 : 0), t.end(),
                                                        [](QChar c) { return c.isDigit(); });
        if (!digits || t == QStringLiteral("-")) {
            text = QString::number(value());
            return;
        }
        bool ok = false;
        const qlonglong number = t.toLongLong(&ok);
        const qlonglong far = t.startsWith(u'-') ? std::numeric_limits<qlonglong>::min()
                                                 : std::numeric_limits<qlonglong>::max();
        text = QString::number(std::clamp<qlonglong>(ok ? number : far, minimum(), maximum()));
    }
};

// A script link: blue text with a hand cursor, underlined while the mouse is over it; a click, or Enter
// or Space while it has the focus, runs `open`.
class TScriptLink : public QLabel {
  public:
    TScriptLink(const QString& text, std::function<void()> open, QWidget* parent)
        : QLabel(text, parent), open_(std::move(open)) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        QPalette blue = palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        setPalette(blue);
    }

  protected:
    void enterEvent(QEnterEvent* event) override {
        SetUnderline(true);
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        SetUnderline(false);
        QLabel::leaveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            RunCommand(open_);
        else
            QLabel::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
            RunCommand(open_);
        else
            QLabel::keyPressEvent(event);
    }

    // A link that has the keyboard focus wears a frame in the highlight colour, so that Tab shows where
    // it went.
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    void SetUnderline(bool on) {
        QFont f = font();
        f.setUnderline(on);
        setFont(f);
    }
    std::function<void()> open_;
};

QGroupBox* Group(const char* name, const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

QComboBox* MaskBox(const char* name, const QStringList& entries, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    box->setMinimumWidth(180);
    return box;
}

// The scripts in the order of their links, with the names of the links.
struct TScriptLinkEntry {
    TScriptKind kind;
    const char* name;
};
constexpr TScriptLinkEntry kScriptLinks[] = {
    {TScriptKind::CalcQSO, "lnkCalcQSO"},
    {TScriptKind::CalcMultiplier, "lnkCalcMultiplier"},
    {TScriptKind::CalcTotal, "lnkCalcTotal"},
    {TScriptKind::IsConfirmative, "lnkIsConfirmative"},
    {TScriptKind::IsValidReceive, "lnkIsValidReceive"},
    {TScriptKind::IsDuplicate, "lnkIsDuplicate"},
};

} // namespace

TfmOptions::TfmOptions(int page, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmOptions"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("pcOptions"));
    pages_->addTab(CreateFilesPage(), QStringLiteral("Файлы"));
    pages_->addTab(CreateQSOPage(), QStringLiteral("QSO"));
    pages_->addTab(CreateScriptsPage(), QStringLiteral("Скрипты"));

    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help =
        new QPushButton(TZelkResources::Image(QStringLiteral("help")), QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton* b : {ok, cancel, help})
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { RunCommand([] { ShowHelpTopic("options"); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    FillControls();
    pages_->setCurrentIndex(page == pgQSO ? 1 : 0);
}

QWidget* TfmOptions::CreateFilesPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsFiles"));

    auto* masks = Group("gbExtensions", QStringLiteral(" Расширения файлов "), page);
    edQFilesMask_ =
        MaskBox("edQFilesMask",
                {QStringLiteral("*.CBR- файлы CABRILLO"), QStringLiteral("*.TXT- текстовые файлы"),
                 QStringLiteral("*.LOG- текстовые файлы"), QStringLiteral("*.DAT- текстовые файлы"),
                 QStringLiteral("Cabrillo (*.CBR;*.LOG;*.TXT)"), QStringLiteral("*.*- все файлы ")},
                masks);
    edUBNExt_ = MaskBox("edUBNExt",
                        {QStringLiteral("*.UBN- файлы отчётов"), QStringLiteral("*.TXT- текстовые файлы"),
                         QStringLiteral("*.LOG- текстовые файлы")},
                        masks);
    auto* maskGrid = new QGridLayout(masks);
    maskGrid->addWidget(new QLabel(QStringLiteral("Входные файлы"), masks), 0, 0);
    maskGrid->addWidget(edQFilesMask_, 0, 1);
    maskGrid->addWidget(new QLabel(QStringLiteral("Выходные файлы"), masks), 1, 0);
    maskGrid->addWidget(edUBNExt_, 1, 1);
    edLCRExt_ = new QLineEdit(masks);
    edLCRExt_->setObjectName(QStringLiteral("edLCRExt"));
    edLCRExt_->setToolTip(
        QStringLiteral("Расширение отчёта о проверке журнала, записываемого рядом с файлом UBN"));
    maskGrid->addWidget(new QLabel(QStringLiteral("Отчёты о проверке"), masks), 2, 0);
    maskGrid->addWidget(edLCRExt_, 2, 1);
    maskGrid->setColumnStretch(1, 1);

    auto* calc = Group("gbCalc", QStringLiteral(" Расчёт "), page);
    cbAutoCalcQSO_ = new QCheckBox(QStringLiteral("Автоматически проверять все"), calc);
    cbAutoCalcQSO_->setObjectName(QStringLiteral("cbAutoCalcQSO"));
    auto* beneath = new QLabel(QStringLiteral("записи при выборе файла в списке"), calc);
    beneath->setObjectName(QStringLiteral("lbAutoCalcQSO"));
    // The second line of the check box's text starts where the first one's text does.
    const int indent = cbAutoCalcQSO_->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       cbAutoCalcQSO_->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    beneath->setIndent(indent);
    auto* calcLayout = new QVBoxLayout(calc);
    calcLayout->setSpacing(0);
    calcLayout->addWidget(cbAutoCalcQSO_);
    calcLayout->addWidget(beneath);

    // Logs named after something else than their callsign ("Q5O_p.CBR" for Q5O/P).
    auto* finding = Group("gbFinding", QStringLiteral(" Поиск лога корреспондента "), page);
    cbFindLogByCallSign_ =
        new QCheckBox(QStringLiteral("По тэгу CALLSIGN: в логах, затем по имени файла"), finding);
    cbFindLogByCallSign_->setObjectName(QStringLiteral("cbFindLogByCallSign"));
    auto* findingLayout = new QVBoxLayout(finding);
    findingLayout->addWidget(cbFindLogByCallSign_);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(masks);
    layout->addWidget(finding);
    layout->addWidget(calc);
    layout->addStretch();
    return page;
}

// The standings by category: which header tags make a category, and the tie-break by accuracy.
QWidget* TfmOptions::CreateStandingsGroup(QWidget* page) {
    auto* standings = Group("gbStandings", QStringLiteral(" Турнирная таблица "), page);
    edCategoryTags_ = new QLineEdit(standings);
    edCategoryTags_->setObjectName(QStringLiteral("edCategoryTags"));
    edCategoryTags_->setToolTip(
        QStringLiteral("Тэги заголовка через пробел, значения которых образуют категорию"));
    auto* label = new QLabel(QStringLiteral("Категория:"), standings);
    label->setBuddy(edCategoryTags_);
    cbTieBreakByAccuracy_ =
        new QCheckBox(QStringLiteral("При равных итогах выше участник с большей точностью"), standings);
    cbTieBreakByAccuracy_->setObjectName(QStringLiteral("cbTieBreakByAccuracy"));
    auto* grid = new QGridLayout(standings);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edCategoryTags_, 0, 1);
    grid->addWidget(cbTieBreakByAccuracy_, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return standings;
}

QWidget* TfmOptions::CreateQSOPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsQSO"));

    // Only parsing by order exists; the other choice is shown for what it is and cannot be taken.
    auto* parsing = Group("gbParsing", QStringLiteral(" Разбор полей записи "), page);
    auto* byOrder = new QRadioButton(QStringLiteral("По порядку"), parsing);
    byOrder->setObjectName(QStringLiteral("rbByOrder"));
    byOrder->setChecked(true);
    auto* byPosition = new QRadioButton(QStringLiteral("По позициям в строке"), parsing);
    byPosition->setObjectName(QStringLiteral("rbByPosition"));
    byPosition->setEnabled(false);
    // The template names the pieces read by order.
    edQSOTemplate_ = new QLineEdit(parsing);
    edQSOTemplate_->setObjectName(QStringLiteral("edQSOTemplate"));
    edQSOTemplate_->setPlaceholderText(Qs(TQSOTemplate().Text()));
    edQSOTemplate_->setToolTip(
        QStringLiteral("Поля строки QSO после «QSO:» по порядку: freq, mode, date, time, "
                       "mycall, sent, call, rcvd, tx, skip; пусто — по стандарту Cabrillo"));
    auto* templateLabel = new QLabel(QStringLiteral("Шаблон:"), parsing);
    templateLabel->setBuddy(edQSOTemplate_);
    cbQSOSplitTabs_ = new QCheckBox(QStringLiteral("Табуляция и неразрывный пробел разделяют поля"), parsing);
    cbQSOSplitTabs_->setObjectName(QStringLiteral("cbQSOSplitTabs"));
    auto* parsingLayout = new QGridLayout(parsing);
    parsingLayout->addWidget(byOrder, 0, 0, 1, 2);
    parsingLayout->addWidget(templateLabel, 1, 0);
    parsingLayout->addWidget(edQSOTemplate_, 1, 1);
    parsingLayout->addWidget(cbQSOSplitTabs_, 2, 0, 1, 2);
    parsingLayout->addWidget(byPosition, 3, 0, 1, 2);
    parsingLayout->setColumnStretch(1, 1);

    auto* time = Group("gbMaxDifference", QStringLiteral(" Максимальное "), page);
    edMaxMinutesDifference_ = new TRangeSpinBox("edMaxMinutesDifference", time);
    auto* timeLayout = new QHBoxLayout(time);
    timeLayout->addWidget(new QLabel(QStringLiteral("расхождение времени"), time));
    timeLayout->addWidget(edMaxMinutesDifference_);
    timeLayout->addWidget(new QLabel(QStringLiteral("мин."), time));
    timeLayout->addStretch();

    auto* absent = Group("gbNoFile", QStringLiteral(" Отсутствующие файлы "), page);
    edNoFileMinMentionCount_ = new TRangeSpinBox("edNoFileMinMentionCount", absent);
    cbNoFileIncludeResults_ = new QCheckBox(QStringLiteral("Засчитывать связи"), absent);
    cbNoFileIncludeResults_->setObjectName(QStringLiteral("cbNoFileIncludeResults"));
    auto* absentLayout = new QGridLayout(absent);
    absentLayout->addWidget(edNoFileMinMentionCount_, 0, 0);
    absentLayout->addWidget(new QLabel(QStringLiteral("упоминаний"), absent), 0, 1);
    absentLayout->addWidget(cbNoFileIncludeResults_, 1, 0, 1, 2);
    absentLayout->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(parsing);
    layout->addWidget(time);
    layout->addWidget(absent);
    layout->addWidget(CreateStandingsGroup(page));
    layout->addStretch();
    return page;
}

QWidget* TfmOptions::CreateScriptsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsScripts"));
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(8);
    const QIcon icon = TZelkResources::Image(QStringLiteral("script"));
    int row = 0;
    for (const TScriptLinkEntry& entry : kScriptLinks) {
        auto* image = new QLabel(page);
        image->setPixmap(icon.pixmap(16, 16));
        const TScriptKind kind = entry.kind;
        auto* link = new TScriptLink(
            Qs(TZelkScriptItem(kind).GetCaption()),
            [this, kind] {
                if (TZelkScriptItem* item = Scripts().FindItem(kind)) OpenScriptEditor(*item, this);
            },
            page);
        link->setObjectName(QString::fromLatin1(entry.name));
        grid->addWidget(image, row, 0);
        grid->addWidget(link, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

void TfmOptions::FillControls() {
    const auto& v = Vars();
    edQFilesMask_->setEditText(Qs(v.FilesMask));
    edUBNExt_->setEditText(Qs(v.UBNExt));
    cbAutoCalcQSO_->setChecked(v.AutoCalcQSO);
    cbFindLogByCallSign_->setChecked(v.FindLogByCallSign);
    cbQSOSplitTabs_->setChecked(v.QSOSplitTabs);
    edQSOTemplate_->setText(Qs(v.QSOTemplate));
    edMaxMinutesDifference_->setValue(v.MaxMinutesDifference);
    edNoFileMinMentionCount_->setValue(v.NoFileMinMentionCount);
    cbNoFileIncludeResults_->setChecked(v.NoFileIncludeResults);
    edLCRExt_->setText(Qs(v.LCRExt));
    edCategoryTags_->setText(Qs(v.CategoryTags));
    cbTieBreakByAccuracy_->setChecked(v.TieBreakByAccuracy);
}

// The blanks between the mask and its "-" are dropped too: kept, they would be part of the mask, which then
// matches no file of the folder.
std::string TfmOptions::MaskFromText(const std::string& text) {
    const std::string trimmed = Trim(text);
    const size_t open = trimmed.rfind('(');
    if (!trimmed.empty() && trimmed.back() == ')' && open != std::string::npos)
        return Trim(trimmed.substr(open + 1, trimmed.size() - open - 2));
    const size_t dash = trimmed.find('-');
    return dash == std::string::npos ? trimmed : Trim(trimmed.substr(0, dash));
}

void TfmOptions::accept() {
    const std::string templateText = Trim(Cp(edQSOTemplate_->text()));
    const std::string templateError = TQSOTemplate::Check(templateText);
    if (!templateError.empty()) {
        pages_->setCurrentIndex(1);
        Messages().Error(templateError, "");
        edQSOTemplate_->setFocus();
        return;
    }
    edMaxMinutesDifference_->interpretText();
    edNoFileMinMentionCount_->interpretText();
    auto& v = Vars();
    for (auto [box, field] : {std::pair{edQFilesMask_, &v.FilesMask}, std::pair{edUBNExt_, &v.UBNExt}}) {
        const std::string text = Trim(Cp(box->currentText()));
        box->setEditText(Qs(text));
        *field = MaskFromText(text);
    }
    v.MaxMinutesDifference = edMaxMinutesDifference_->value();
    v.NoFileMinMentionCount = edNoFileMinMentionCount_->value();
    v.NoFileIncludeResults = cbNoFileIncludeResults_->isChecked();
    v.AutoCalcQSO = cbAutoCalcQSO_->isChecked();
    v.FindLogByCallSign = cbFindLogByCallSign_->isChecked();
    v.QSOSplitTabs = cbQSOSplitTabs_->isChecked();
    v.QSOTemplate = templateText;
    if (const std::string ext = Trim(Cp(edLCRExt_->text())); !ext.empty()) v.LCRExt = ext;
    v.CategoryTags = CollapseSpaces(Trim(Cp(edCategoryTags_->text())));
    v.TieBreakByAccuracy = cbTieBreakByAccuracy_->isChecked();
    edQSOTemplate_->setText(Qs(templateText));
    RunCommand([] { Vars().SaveSettings(); });
    QDialog::accept();
}

bool ShowOptions(int page, QWidget* parent) {
    TfmOptions dialog(page, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zelk::ui
