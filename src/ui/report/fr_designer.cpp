// The report designer: the layout tree, the property editors, the design sheet and the live preview.
#include "ui/report/fr_designer.h"

#include "logs/error.h"
#include "logs/text.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/help_topic.h"
#include "ui/qt_text.h"
#include "ui/report/fr_icons.h"
#include "ui/report/fr_page_view.h"
#include "ui/report/fr_prepare.h"
#include "ui/report/fr_report_impl.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zelk::rep {
namespace {

// Height of a band's caption on the design sheet, millimetres.
constexpr double kCaptionHeight = 4;
// Pages the live preview prepares at most, so that a large contest keeps the designer quick.
constexpr int kPreviewPages = 30;
// Pause after an edit before the live preview is prepared again, milliseconds.
constexpr int kPreviewDelay = 250;
// Drags move objects in steps of this many millimetres.
constexpr double kGrid = 0.5;

enum TItemRole { RoleBand = Qt::UserRole, RoleObject };

// The printing order of the kinds; a new band goes after the bands of its kind and of earlier kinds.
int KindOrder(TfrBandKind kind) {
    switch (kind) {
    case TfrBandKind::ReportTitle:
        return 0;
    case TfrBandKind::PageHeader:
        return 1;
    case TfrBandKind::MasterData:
        return 2;
    case TfrBandKind::ReportSummary:
        return 3;
    case TfrBandKind::PageFooter:
        return 4;
    }
    return 2;
}

QString BandCaption(const TfrBand& band) {
    QString caption = BandKindCaption(band.Kind);
    if (band.Kind == TfrBandKind::MasterData)
        caption += band.Dataset.isEmpty() ? QStringLiteral(": набор данных не задан")
                                          : QStringLiteral(": ") + band.Dataset;
    return caption;
}

QString ObjectCaption(const TfrTextObject& o) {
    QString text = o.Text;
    text.replace(u'\n', u' ');
    if (text.size() > 40) text = text.left(40) + QStringLiteral("…");
    return QStringLiteral("%1: %2").arg(o.Name, text);
}

QDoubleSpinBox* MakeLength(QWidget* parent, const char* name, double max = kMaxPageSide, double min = 0) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" мм"));
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const char* image,
                    const QKeySequence& shortcut = {}) {
    auto* action = new QAction(ReportIcon(image), caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

void SetColorButton(QToolButton* button, const QColor& color) {
    QPixmap swatch(16, 16);
    swatch.fill(color.isValid() ? color : QColor(Qt::white));
    button->setIcon(QIcon(swatch));
}

} // namespace

TfrPreparedPage DesignPage(const TfrLayout& layout) {
    TfrPreparedPage page;
    page.Width = layout.Page.Width;
    double y = layout.Page.TopMargin;
    TfrTextStyle captionStyle;
    captionStyle.FontSize = 7;
    captionStyle.TextColor = QColor(70, 70, 70);
    captionStyle.FillColor = QColor(225, 225, 225);
    captionStyle.VAlign = TfrVAlign::Center;
    TfrTextStyle areaStyle;
    areaStyle.Frame = frBottom | frTop;
    areaStyle.FrameWidth = 0.1;
    areaStyle.FillColor = QColor(250, 250, 255);
    for (std::size_t b = 0; b < layout.Bands.size(); ++b) {
        const TfrBand& band = layout.Bands[b];
        const int bandSource = TfrSourceIndex(static_cast<int>(b), kBandSource);
        TfrPreparedBand printed{band.Kind, y, kCaptionHeight + band.Height, {}};
        printed.Items.push_back(
            {QRectF(0, y, layout.Page.Width, kCaptionHeight), BandCaption(band), captionStyle, bandSource});
        y += kCaptionHeight;
        printed.Items.push_back(
            {QRectF(0, y, layout.Page.Width, band.Height), QString(), areaStyle, bandSource});
        for (std::size_t k = 0; k < band.Objects.size(); ++k) {
            const TfrTextObject& o = band.Objects[k];
            TfrTextStyle style = o.Style;
            // An object without frame or fill still shows its box on the sheet, tinted.
            if (style.Frame == frNone && !style.FillColor.isValid()) style.FillColor = QColor(255, 249, 222);
            printed.Items.push_back({QRectF(layout.Page.LeftMargin + o.Left, y + o.Top, o.Width, o.Height),
                                     o.Text, style,
                                     TfrSourceIndex(static_cast<int>(b), static_cast<int>(k))});
        }
        y += band.Height;
        page.Bands.push_back(std::move(printed));
    }
    page.Height = std::max(layout.Page.Height, y + layout.Page.BottomMargin);
    return page;
}

TfrDesignerForm::TfrDesignerForm(TfrReportImpl& report, QWidget* parent)
    : QDialog(parent), report_(report), layout_(report.Layout()) {
    setObjectName(QStringLiteral("frDesigner"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    tmrPreview_ = new QTimer(this);
    tmrPreview_->setObjectName(QStringLiteral("tmrPreview"));
    tmrPreview_->setSingleShot(true);
    tmrPreview_->setInterval(kPreviewDelay);
    connect(tmrPreview_, &QTimer::timeout, this, &TfrDesignerForm::RefreshPreview);
    CreateActions();
    CreateLayout();
    resize(1200, 760);
    RebuildTree();
    Select(layout_.Bands.empty() ? -1 : 0, -1);
    UpdateTitle();
    RefreshPreview();
}

// Editors that lose the focus while their window is destroyed report it; by then the window can no
// longer take their signals.
TfrDesignerForm::~TfrDesignerForm() {
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void TfrDesignerForm::CreateActions() {
    auto on = [this](QAction* action, auto&& f) {
        connect(action, &QAction::triggered, this, [f] { ui::RunCommand(f); });
        addAction(action);
    };
    actSave = MakeAction(this, "actSave", QStringLiteral("Сохранить макет"), "save", QKeySequence::Save);
    on(actSave, [this] { actSaveExecute(); });
    actSaveAs = MakeAction(this, "actSaveAs", QStringLiteral("Сохранить макет как..."), "save-report");
    on(actSaveAs, [this] { actSaveAsExecute(); });
    auto addBand = [&](const char* name, TfrBandKind kind) {
        QAction* a = MakeAction(this, name, BandKindCaption(kind), "add-band");
        on(a, [this, kind] { AddBand(kind); });
        return a;
    };
    actAddReportTitle = addBand("actAddReportTitle", TfrBandKind::ReportTitle);
    actAddPageHeader = addBand("actAddPageHeader", TfrBandKind::PageHeader);
    actAddMasterData = addBand("actAddMasterData", TfrBandKind::MasterData);
    actAddReportSummary = addBand("actAddReportSummary", TfrBandKind::ReportSummary);
    actAddPageFooter = addBand("actAddPageFooter", TfrBandKind::PageFooter);
    actAddText =
        MakeAction(this, "actAddText", QStringLiteral("Добавить текст"), "add-text", Qt::CTRL | Qt::Key_T);
    on(actAddText, [this] { AddTextObject(); });
    actDelete = MakeAction(this, "actDelete", QStringLiteral("Удалить"), "delete");
    on(actDelete, [this] { DeleteSelected(); });
    actMoveUp = MakeAction(this, "actMoveUp", QStringLiteral("Выше"), "move-up");
    on(actMoveUp, [this] { actMoveExecute(-1); });
    actMoveDown = MakeAction(this, "actMoveDown", QStringLiteral("Ниже"), "move-down");
    on(actMoveDown, [this] { actMoveExecute(1); });
    actHelp = MakeAction(this, "actHelp", QStringLiteral("Справка"), "help", Qt::Key_F1);
    on(actHelp, [] { ui::ShowHelpTopic("report-designer"); });
    actClose = MakeAction(this, "actClose", QStringLiteral("Закрыть"), "exit");
    connect(actClose, &QAction::triggered, this, &QDialog::close);
}

void TfrDesignerForm::CreateLayout() {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbDesigner"));
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addActions({actSave, actSaveAs});
    toolBar->addSeparator();
    auto* bandMenu = new QMenu(this);
    bandMenu->setObjectName(QStringLiteral("pmAddBand"));
    bandMenu->addActions(
        {actAddReportTitle, actAddPageHeader, actAddMasterData, actAddReportSummary, actAddPageFooter});
    tbAddBand_ = new QToolButton(toolBar);
    tbAddBand_->setObjectName(QStringLiteral("tbAddBand"));
    tbAddBand_->setText(QStringLiteral("Добавить полосу"));
    tbAddBand_->setIcon(ReportIcon("add-band"));
    tbAddBand_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbAddBand_->setMenu(bandMenu);
    tbAddBand_->setPopupMode(QToolButton::InstantPopup);
    toolBar->addWidget(tbAddBand_);
    toolBar->addActions({actAddText, actDelete, actMoveUp, actMoveDown});
    toolBar->addSeparator();
    toolBar->addActions({actHelp, actClose});

    tvLayout_ = new QTreeWidget(this);
    tvLayout_->setObjectName(QStringLiteral("tvLayout"));
    tvLayout_->setHeaderHidden(true);
    tvLayout_->setContextMenuPolicy(Qt::ActionsContextMenu);
    tvLayout_->addActions({actAddText, actDelete, actMoveUp, actMoveDown});
    connect(tvLayout_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (loading_ || !item) return;
        Select(item->data(0, RoleBand).toInt(), item->data(0, RoleObject).toInt());
    });

    swProperties_ = new QStackedWidget(this);
    swProperties_->setObjectName(QStringLiteral("swProperties"));
    swProperties_->addWidget(CreatePageProperties());
    swProperties_->addWidget(CreateBandProperties());
    swProperties_->addWidget(CreateObjectProperties());

    auto* left = new QSplitter(Qt::Vertical, this);
    left->setObjectName(QStringLiteral("spLeft"));
    left->addWidget(tvLayout_);
    auto* propertiesScroll = new QScrollArea(left);
    propertiesScroll->setWidgetResizable(true);
    propertiesScroll->setWidget(swProperties_);
    left->addWidget(propertiesScroll);
    left->setSizes({260, 440});

    auto makeView = [this](const char* name, const char* area) {
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QString::fromLatin1(area));
        scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        scroll->setBackgroundRole(QPalette::Dark);
        auto* view = new TfrPageView(scroll);
        view->setObjectName(QString::fromLatin1(name));
        view->SetDraggable(true);
        view->SetZoom(1.0);
        scroll->setWidget(view);
        connect(view, &TfrPageView::ItemClicked, this, [this](int source) {
            Select(TfrSourceBand(source),
                   TfrSourceObject(source) == kBandSource ? -1 : TfrSourceObject(source));
        });
        connect(view, &TfrPageView::ItemMoved, this, &TfrDesignerForm::MoveObject);
        return std::pair{scroll, view};
    };
    auto [designScroll, design] = makeView("pvDesign", "saDesign");
    pvDesign_ = design;
    auto [previewScroll, preview] = makeView("pvPreview", "saPreview");
    pvPreview_ = preview;

    auto* previewPanel = new QWidget(this);
    auto* previewBar = new QHBoxLayout;
    previewBar->addWidget(new QLabel(QStringLiteral("Страница:"), previewPanel));
    edPreviewPage_ = new QSpinBox(previewPanel);
    edPreviewPage_->setObjectName(QStringLiteral("edPreviewPage"));
    edPreviewPage_->setKeyboardTracking(false);
    connect(edPreviewPage_, &QSpinBox::valueChanged, this, [this](int page) { ShowPreviewPage(page - 1); });
    previewBar->addWidget(edPreviewPage_);
    lbPreviewStatus_ = new QLabel(previewPanel);
    lbPreviewStatus_->setObjectName(QStringLiteral("lbPreviewStatus"));
    lbPreviewStatus_->setWordWrap(true);
    previewBar->addWidget(lbPreviewStatus_, 1);
    auto* previewLayout = new QVBoxLayout(previewPanel);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addLayout(previewBar);
    previewLayout->addWidget(previewScroll, 1);

    tcView_ = new QTabWidget(this);
    tcView_->setObjectName(QStringLiteral("tcView"));
    tcView_->addTab(designScroll, QStringLiteral("Макет"));
    tcView_->addTab(previewPanel, QStringLiteral("Просмотр"));

    auto* main = new QSplitter(Qt::Horizontal, this);
    main->setObjectName(QStringLiteral("spMain"));
    main->addWidget(left);
    main->addWidget(tcView_);
    main->setStretchFactor(1, 1);
    main->setSizes({400, 800});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(main, 1);
}

QWidget* TfrDesignerForm::CreatePageProperties() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("tsPage"));
    auto* form = new QFormLayout(panel);
    form->addRow(new QLabel(QStringLiteral("<b>Страница</b>"), panel));
    edPageWidth_ = MakeLength(panel, "edPageWidth", kMaxPageSide, kMinPageSide);
    edPageHeight_ = MakeLength(panel, "edPageHeight", kMaxPageSide, kMinPageSide);
    edMarginLeft_ = MakeLength(panel, "edMarginLeft", 500);
    edMarginTop_ = MakeLength(panel, "edMarginTop", 500);
    edMarginRight_ = MakeLength(panel, "edMarginRight", 500);
    edMarginBottom_ = MakeLength(panel, "edMarginBottom", 500);
    form->addRow(QStringLiteral("Ширина:"), edPageWidth_);
    form->addRow(QStringLiteral("Высота:"), edPageHeight_);
    form->addRow(QStringLiteral("Поле слева:"), edMarginLeft_);
    form->addRow(QStringLiteral("Поле сверху:"), edMarginTop_);
    form->addRow(QStringLiteral("Поле справа:"), edMarginRight_);
    form->addRow(QStringLiteral("Поле снизу:"), edMarginBottom_);
    for (QDoubleSpinBox* box :
         {edPageWidth_, edPageHeight_, edMarginLeft_, edMarginTop_, edMarginRight_, edMarginBottom_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { StoreProperties(); });
    return panel;
}

QWidget* TfrDesignerForm::CreateBandProperties() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("tsBand"));
    auto* form = new QFormLayout(panel);
    form->addRow(new QLabel(QStringLiteral("<b>Полоса</b>"), panel));
    cbBandKind_ = new QComboBox(panel);
    cbBandKind_->setObjectName(QStringLiteral("cbBandKind"));
    for (TfrBandKind kind : {TfrBandKind::ReportTitle, TfrBandKind::PageHeader, TfrBandKind::MasterData,
                             TfrBandKind::ReportSummary, TfrBandKind::PageFooter})
        cbBandKind_->addItem(BandKindCaption(kind), static_cast<int>(kind));
    edBandHeight_ = MakeLength(panel, "edBandHeight");
    cbDataset_ = new QComboBox(panel);
    cbDataset_->setObjectName(QStringLiteral("cbDataset"));
    cbDataset_->setEditable(true);
    for (const auto& [name, dataset] : report_.Sources().Datasets)
        cbDataset_->addItem(ui::Qs(name));
    form->addRow(QStringLiteral("Вид:"), cbBandKind_);
    form->addRow(QStringLiteral("Высота:"), edBandHeight_);
    form->addRow(QStringLiteral("Набор данных:"), cbDataset_);
    connect(cbBandKind_, &QComboBox::currentIndexChanged, this, [this] { StoreProperties(); });
    connect(edBandHeight_, &QDoubleSpinBox::valueChanged, this, [this] { StoreProperties(); });
    connect(cbDataset_, &QComboBox::currentTextChanged, this, [this] { StoreProperties(); });
    return panel;
}

QWidget* TfrDesignerForm::CreateObjectProperties() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("tsObject"));
    auto* form = new QFormLayout(panel);
    form->addRow(new QLabel(QStringLiteral("<b>Текст</b>"), panel));
    edObjName_ = new QLineEdit(panel);
    edObjName_->setObjectName(QStringLiteral("edObjName"));
    edObjText_ = new QPlainTextEdit(panel);
    edObjText_->setObjectName(QStringLiteral("edObjText"));
    edObjText_->setTabChangesFocus(true);
    edObjText_->setFixedHeight(70);
    edObjText_->setToolTip(
        QStringLiteral("Текст; выражения пишутся в квадратных скобках: [CALLSIGN], [PAGE]"));
    edObjLeft_ = MakeLength(panel, "edObjLeft", kMaxPageSide, -kMaxPageSide);
    edObjTop_ = MakeLength(panel, "edObjTop", kMaxPageSide, -kMaxPageSide);
    edObjWidth_ = MakeLength(panel, "edObjWidth");
    edObjHeight_ = MakeLength(panel, "edObjHeight");
    cbObjFont_ = new QFontComboBox(panel);
    cbObjFont_->setObjectName(QStringLiteral("cbObjFont"));
    cbObjFont_->setEditable(true);
    cbObjFont_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbObjFont_->setMinimumContentsLength(12);
    edObjFontSize_ = new QDoubleSpinBox(panel);
    edObjFontSize_->setObjectName(QStringLiteral("edObjFontSize"));
    edObjFontSize_->setRange(1, 200);
    edObjFontSize_->setDecimals(1);
    edObjFontSize_->setSuffix(QStringLiteral(" пт"));
    edObjFontSize_->setKeyboardTracking(false);
    cbObjBold_ = MakeCheck(panel, "cbObjBold", QStringLiteral("Жирный"));
    cbObjItalic_ = MakeCheck(panel, "cbObjItalic", QStringLiteral("Курсив"));
    cbObjUnderline_ = MakeCheck(panel, "cbObjUnderline", QStringLiteral("Подчёркнутый"));
    auto* fontStyle = new QGridLayout;
    fontStyle->addWidget(cbObjBold_, 0, 0);
    fontStyle->addWidget(cbObjItalic_, 0, 1);
    fontStyle->addWidget(cbObjUnderline_, 1, 0, 1, 2);
    cbObjAlign_ = new QComboBox(panel);
    cbObjAlign_->setObjectName(QStringLiteral("cbObjAlign"));
    cbObjAlign_->addItems({QStringLiteral("Влево"), QStringLiteral("По центру"), QStringLiteral("Вправо")});
    cbObjVAlign_ = new QComboBox(panel);
    cbObjVAlign_->setObjectName(QStringLiteral("cbObjVAlign"));
    cbObjVAlign_->addItems({QStringLiteral("Вверху"), QStringLiteral("По центру"), QStringLiteral("Внизу")});
    cbObjWrap_ = MakeCheck(panel, "cbObjWrap", QStringLiteral("Переносить слова"));
    cbFrameLeft_ = MakeCheck(panel, "cbFrameLeft", QStringLiteral("слева"));
    cbFrameTop_ = MakeCheck(panel, "cbFrameTop", QStringLiteral("сверху"));
    cbFrameRight_ = MakeCheck(panel, "cbFrameRight", QStringLiteral("справа"));
    cbFrameBottom_ = MakeCheck(panel, "cbFrameBottom", QStringLiteral("снизу"));
    auto* frame = new QGridLayout;
    frame->addWidget(cbFrameLeft_, 0, 0);
    frame->addWidget(cbFrameTop_, 0, 1);
    frame->addWidget(cbFrameRight_, 1, 0);
    frame->addWidget(cbFrameBottom_, 1, 1);
    edFrameWidth_ = MakeLength(panel, "edFrameWidth", 10);
    edFrameWidth_->setDecimals(2);
    edFrameWidth_->setSingleStep(0.1);
    btnObjColor_ = new QToolButton(panel);
    btnObjColor_->setObjectName(QStringLiteral("btnObjColor"));
    btnObjColor_->setText(QStringLiteral("Цвет текста..."));
    btnObjColor_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cbObjFill_ = MakeCheck(panel, "cbObjFill", QStringLiteral("Заливка"));
    btnObjFill_ = new QToolButton(panel);
    btnObjFill_->setObjectName(QStringLiteral("btnObjFill"));
    btnObjFill_->setText(QStringLiteral("Цвет заливки..."));
    btnObjFill_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* colors = new QGridLayout;
    colors->addWidget(btnObjColor_, 0, 0, 1, 2);
    colors->addWidget(cbObjFill_, 1, 0);
    colors->addWidget(btnObjFill_, 1, 1);

    form->addRow(QStringLiteral("Имя:"), edObjName_);
    form->addRow(QStringLiteral("Текст:"), edObjText_);
    form->addRow(QStringLiteral("Слева:"), edObjLeft_);
    form->addRow(QStringLiteral("Сверху:"), edObjTop_);
    form->addRow(QStringLiteral("Ширина:"), edObjWidth_);
    form->addRow(QStringLiteral("Высота:"), edObjHeight_);
    form->addRow(QStringLiteral("Шрифт:"), cbObjFont_);
    form->addRow(QStringLiteral("Размер:"), edObjFontSize_);
    form->addRow(QString(), fontStyle);
    form->addRow(QStringLiteral("По горизонтали:"), cbObjAlign_);
    form->addRow(QStringLiteral("По вертикали:"), cbObjVAlign_);
    form->addRow(QString(), cbObjWrap_);
    form->addRow(QStringLiteral("Рамка:"), frame);
    form->addRow(QStringLiteral("Толщина рамки:"), edFrameWidth_);
    form->addRow(QStringLiteral("Цвета:"), colors);

    auto store = [this] { StoreProperties(); };
    connect(edObjName_, &QLineEdit::editingFinished, this, store);
    connect(edObjText_, &QPlainTextEdit::textChanged, this, store);
    for (QDoubleSpinBox* box :
         {edObjLeft_, edObjTop_, edObjWidth_, edObjHeight_, edObjFontSize_, edFrameWidth_})
        connect(box, &QDoubleSpinBox::valueChanged, this, store);
    connect(cbObjFont_, &QFontComboBox::currentTextChanged, this, store);
    for (QCheckBox* box : {cbObjBold_, cbObjItalic_, cbObjUnderline_, cbObjWrap_, cbFrameLeft_, cbFrameTop_,
                           cbFrameRight_, cbFrameBottom_, cbObjFill_})
        connect(box, &QCheckBox::toggled, this, store);
    for (QComboBox* box : {cbObjAlign_, cbObjVAlign_})
        connect(box, &QComboBox::currentIndexChanged, this, store);
    auto pickColor = [this](bool fill) {
        if (selObject_ < 0) return;
        const TfrTextStyle before = layout_.Bands[selBand_].Objects[selObject_].Style;
        const QColor chosen = QColorDialog::getColor(
            fill && before.FillColor.isValid() ? before.FillColor : before.TextColor, this);
        if (!chosen.isValid() || selObject_ < 0) return;
        TfrTextStyle& style = layout_.Bands[selBand_].Objects[selObject_].Style;
        (fill ? style.FillColor : style.TextColor) = QColor(chosen.rgb());
        ShowProperties();
        Changed(false);
    };
    connect(btnObjColor_, &QToolButton::clicked, this, [pickColor] { pickColor(false); });
    connect(btnObjFill_, &QToolButton::clicked, this, [pickColor] { pickColor(true); });
    return panel;
}

void TfrDesignerForm::RebuildTree() {
    loading_ = true;
    tvLayout_->clear();
    auto* page = new QTreeWidgetItem(tvLayout_, {QStringLiteral("Страница")});
    page->setData(0, RoleBand, -1);
    page->setData(0, RoleObject, -1);
    for (std::size_t b = 0; b < layout_.Bands.size(); ++b) {
        const TfrBand& band = layout_.Bands[b];
        auto* bandItem = new QTreeWidgetItem(tvLayout_, {BandCaption(band)});
        bandItem->setData(0, RoleBand, static_cast<int>(b));
        bandItem->setData(0, RoleObject, -1);
        bandItem->setIcon(0, ReportIcon("add-band"));
        for (std::size_t k = 0; k < band.Objects.size(); ++k) {
            auto* objectItem = new QTreeWidgetItem(bandItem, {ObjectCaption(band.Objects[k])});
            objectItem->setData(0, RoleBand, static_cast<int>(b));
            objectItem->setData(0, RoleObject, static_cast<int>(k));
        }
    }
    tvLayout_->expandAll();
    loading_ = false;
}

void TfrDesignerForm::Select(int band, int object) {
    if (band < 0 || band >= static_cast<int>(layout_.Bands.size())) band = -1;
    if (band < 0 || object < 0 || object >= static_cast<int>(layout_.Bands[band].Objects.size())) object = -1;
    selBand_ = band;
    selObject_ = object;
    loading_ = true;
    for (QTreeWidgetItemIterator it(tvLayout_); *it; ++it) {
        if ((*it)->data(0, RoleBand).toInt() == band && (*it)->data(0, RoleObject).toInt() == object) {
            tvLayout_->setCurrentItem(*it);
            break;
        }
    }
    loading_ = false;
    ShowProperties();
    UpdateActions();
    // Mark the selection on the design sheet.
    const TfrPreparedItem* mark = nullptr;
    const int source = TfrSourceIndex(band, object < 0 ? kBandSource : object);
    for (const TfrPreparedBand& b : design_.Bands)
        for (const TfrPreparedItem& item : b.Items)
            if (band >= 0 && item.Source == source && (object >= 0 || !item.Text.isEmpty())) mark = &item;
    pvDesign_->SetPage(design_.Bands.empty() && design_.Height <= 0 ? nullptr : &design_, mark);
}

void TfrDesignerForm::ShowProperties() {
    loading_ = true;
    if (selBand_ < 0) {
        swProperties_->setCurrentIndex(0);
        const TfrPageSetup& p = layout_.Page;
        edPageWidth_->setValue(p.Width);
        edPageHeight_->setValue(p.Height);
        edMarginLeft_->setValue(p.LeftMargin);
        edMarginTop_->setValue(p.TopMargin);
        edMarginRight_->setValue(p.RightMargin);
        edMarginBottom_->setValue(p.BottomMargin);
    } else if (selObject_ < 0) {
        swProperties_->setCurrentIndex(1);
        const TfrBand& band = layout_.Bands[selBand_];
        cbBandKind_->setCurrentIndex(cbBandKind_->findData(static_cast<int>(band.Kind)));
        edBandHeight_->setValue(band.Height);
        cbDataset_->setEditText(band.Dataset);
        cbDataset_->setEnabled(band.Kind == TfrBandKind::MasterData);
    } else {
        swProperties_->setCurrentIndex(2);
        const TfrTextObject& o = layout_.Bands[selBand_].Objects[selObject_];
        edObjName_->setText(o.Name);
        if (edObjText_->toPlainText() != o.Text) edObjText_->setPlainText(o.Text);
        edObjLeft_->setValue(o.Left);
        edObjTop_->setValue(o.Top);
        edObjWidth_->setValue(o.Width);
        edObjHeight_->setValue(o.Height);
        cbObjFont_->setCurrentText(o.Style.FontName);
        edObjFontSize_->setValue(o.Style.FontSize);
        cbObjBold_->setChecked(o.Style.Bold);
        cbObjItalic_->setChecked(o.Style.Italic);
        cbObjUnderline_->setChecked(o.Style.Underline);
        cbObjAlign_->setCurrentIndex(static_cast<int>(o.Style.HAlign));
        cbObjVAlign_->setCurrentIndex(static_cast<int>(o.Style.VAlign));
        cbObjWrap_->setChecked(o.Style.WordWrap);
        cbFrameLeft_->setChecked(o.Style.Frame & frLeft);
        cbFrameTop_->setChecked(o.Style.Frame & frTop);
        cbFrameRight_->setChecked(o.Style.Frame & frRight);
        cbFrameBottom_->setChecked(o.Style.Frame & frBottom);
        edFrameWidth_->setValue(o.Style.FrameWidth);
        cbObjFill_->setChecked(o.Style.FillColor.isValid());
        SetColorButton(btnObjColor_, o.Style.TextColor);
        SetColorButton(btnObjFill_, o.Style.FillColor);
    }
    loading_ = false;
}

// Takes the editors' values into the layout.
void TfrDesignerForm::StoreProperties() {
    if (loading_) return;
    bool structure = false;
    if (selBand_ < 0) {
        TfrPageSetup& p = layout_.Page;
        p.Width = edPageWidth_->value();
        p.Height = edPageHeight_->value();
        p.LeftMargin = edMarginLeft_->value();
        p.TopMargin = edMarginTop_->value();
        p.RightMargin = edMarginRight_->value();
        p.BottomMargin = edMarginBottom_->value();
    } else if (selObject_ < 0) {
        TfrBand& band = layout_.Bands[selBand_];
        band.Kind = static_cast<TfrBandKind>(cbBandKind_->currentData().toInt());
        band.Height = edBandHeight_->value();
        band.Dataset = band.Kind == TfrBandKind::MasterData ? cbDataset_->currentText().trimmed() : QString();
        cbDataset_->setEnabled(band.Kind == TfrBandKind::MasterData);
        structure = true;
    } else {
        TfrTextObject& o = layout_.Bands[selBand_].Objects[selObject_];
        const QString name = edObjName_->text().trimmed();
        if (!name.isEmpty()) o.Name = name;
        o.Text = edObjText_->toPlainText();
        o.Left = edObjLeft_->value();
        o.Top = edObjTop_->value();
        o.Width = edObjWidth_->value();
        o.Height = edObjHeight_->value();
        TfrTextStyle& s = o.Style;
        if (!cbObjFont_->currentText().trimmed().isEmpty()) s.FontName = cbObjFont_->currentText().trimmed();
        s.FontSize = edObjFontSize_->value();
        s.Bold = cbObjBold_->isChecked();
        s.Italic = cbObjItalic_->isChecked();
        s.Underline = cbObjUnderline_->isChecked();
        s.HAlign = static_cast<TfrHAlign>(cbObjAlign_->currentIndex());
        s.VAlign = static_cast<TfrVAlign>(cbObjVAlign_->currentIndex());
        s.WordWrap = cbObjWrap_->isChecked();
        s.Frame = (cbFrameLeft_->isChecked() ? frLeft : 0) | (cbFrameTop_->isChecked() ? frTop : 0) |
                  (cbFrameRight_->isChecked() ? frRight : 0) | (cbFrameBottom_->isChecked() ? frBottom : 0);
        s.FrameWidth = edFrameWidth_->value();
        if (!cbObjFill_->isChecked())
            s.FillColor = QColor();
        else if (!s.FillColor.isValid())
            s.FillColor = QColor(230, 230, 230);
        SetColorButton(btnObjFill_, s.FillColor);
        if (QTreeWidgetItem* item = tvLayout_->currentItem()) item->setText(0, ObjectCaption(o));
    }
    Changed(structure);
}

// After every edit: the tree when bands changed, the design sheet at once, the preview after a pause.
void TfrDesignerForm::Changed(bool structure) {
    modified_ = true;
    if (structure) RebuildTree();
    design_ = DesignPage(layout_);
    Select(selBand_, selObject_);
    UpdateTitle();
    tmrPreview_->start();
}

void TfrDesignerForm::UpdateTitle() {
    const QString file = report_.FileName().isEmpty() ? QStringLiteral("без имени") : report_.FileName();
    setWindowTitle(
        QStringLiteral("Дизайнер отчёта - %1%2").arg(file, modified_ ? QStringLiteral(" *") : QString()));
}

void TfrDesignerForm::UpdateActions() {
    const bool any = selBand_ >= 0;
    actAddText->setEnabled(any);
    actDelete->setEnabled(any);
    actMoveUp->setEnabled(any && (selObject_ >= 0 ? selObject_ > 0 : selBand_ > 0));
    actMoveDown->setEnabled(
        any && (selObject_ >= 0 ? selObject_ + 1 < static_cast<int>(layout_.Bands[selBand_].Objects.size())
                                : selBand_ + 1 < static_cast<int>(layout_.Bands.size())));
}

void TfrDesignerForm::AddBand(TfrBandKind kind) {
    TfrBand band;
    band.Kind = kind;
    band.Height = kind == TfrBandKind::MasterData ? 6 : 10;
    if (kind == TfrBandKind::MasterData && !report_.Sources().Datasets.empty())
        band.Dataset = ui::Qs(report_.Sources().Datasets.front().first);
    auto at = std::find_if(layout_.Bands.begin(), layout_.Bands.end(),
                           [kind](const TfrBand& b) { return KindOrder(b.Kind) > KindOrder(kind); });
    const int index = static_cast<int>(at - layout_.Bands.begin());
    layout_.Bands.insert(at, std::move(band));
    selBand_ = index;
    selObject_ = -1;
    Changed(true);
}

void TfrDesignerForm::AddTextObject() {
    if (selBand_ < 0) {
        Messages().Info("Выберите полосу, на которую нужно поместить текст"_cp, "Дизайнер отчёта"_cp);
        return;
    }
    TfrBand& band = layout_.Bands[selBand_];
    TfrTextObject o;
    o.Name = layout_.NewObjectName();
    o.Text = QStringLiteral("Текст");
    o.Width = 40;
    o.Height = std::clamp(band.Height, 1.0, 5.0);
    // A new object goes to the right of the band's last object while there is room.
    for (const TfrTextObject& other : band.Objects)
        if (other.Top < o.Height) o.Left = std::max(o.Left, other.Left + other.Width);
    if (o.Left + o.Width > layout_.Page.PrintWidth()) o.Left = 0;
    band.Objects.push_back(std::move(o));
    selObject_ = static_cast<int>(band.Objects.size()) - 1;
    Changed(true);
}

void TfrDesignerForm::DeleteSelected() {
    if (selBand_ < 0) return;
    if (selObject_ >= 0) {
        auto& objects = layout_.Bands[selBand_].Objects;
        objects.erase(objects.begin() + selObject_);
        selObject_ = std::min(selObject_, static_cast<int>(objects.size()) - 1);
    } else {
        layout_.Bands.erase(layout_.Bands.begin() + selBand_);
        selBand_ = std::min(selBand_, static_cast<int>(layout_.Bands.size()) - 1);
    }
    Changed(true);
}

void TfrDesignerForm::actMoveExecute(int step) {
    if (selBand_ < 0) return;
    if (selObject_ >= 0) {
        auto& objects = layout_.Bands[selBand_].Objects;
        const int to = selObject_ + step;
        if (to < 0 || to >= static_cast<int>(objects.size())) return;
        std::swap(objects[selObject_], objects[to]);
        selObject_ = to;
    } else {
        const int to = selBand_ + step;
        if (to < 0 || to >= static_cast<int>(layout_.Bands.size())) return;
        std::swap(layout_.Bands[selBand_], layout_.Bands[to]);
        selBand_ = to;
    }
    Changed(true);
}

void TfrDesignerForm::MoveObject(int source, QPointF deltaMm) {
    const int b = TfrSourceBand(source), k = TfrSourceObject(source);
    if (b < 0 || b >= static_cast<int>(layout_.Bands.size()) || k == kBandSource) return;
    auto& objects = layout_.Bands[b].Objects;
    if (k < 0 || k >= static_cast<int>(objects.size())) return;
    auto snap = [](double v) { return std::round(v / kGrid) * kGrid; };
    objects[k].Left = snap(objects[k].Left + deltaMm.x());
    objects[k].Top = snap(objects[k].Top + deltaMm.y());
    selBand_ = b;
    selObject_ = k;
    ShowProperties();
    Changed(false);
}

void TfrDesignerForm::RefreshPreview() {
    tmrPreview_->stop();
    design_ = DesignPage(layout_);
    Select(selBand_, selObject_);
    TfrPrepareOptions options;
    options.MaxPages = kPreviewPages;
    try {
        preview_ = PrepareReport(layout_, report_.Sources(), options);
        lbPreviewStatus_->setText(QStringLiteral("Страниц: %1%2")
                                      .arg(preview_.PageCount())
                                      .arg(preview_.PageCount() >= kPreviewPages
                                               ? QStringLiteral(" (показаны первые)")
                                               : QString()));
    } catch (const std::exception& e) {
        preview_ = {};
        lbPreviewStatus_->setText(QStringLiteral("Ошибка: ") + ui::Qs(ui::ErrorText(e)));
    }
    const QSignalBlocker block(edPreviewPage_);
    edPreviewPage_->setRange(preview_.PageCount() ? 1 : 0, preview_.PageCount());
    ShowPreviewPage(previewPage_);
}

void TfrDesignerForm::ShowPreviewPage(int index) {
    previewPage_ = std::clamp(index, 0, std::max(0, preview_.PageCount() - 1));
    const QSignalBlocker block(edPreviewPage_);
    edPreviewPage_->setValue(preview_.PageCount() ? previewPage_ + 1 : 0);
    pvPreview_->SetPage(preview_.Pages.empty() ? nullptr : &preview_.Pages[previewPage_]);
}

void TfrDesignerForm::SaveTo(const QString& path) {
    TfrLayout layout = layout_;
    NormalizeLayout(layout);
    // The file is written from a report of its own, so that a failed write leaves the report as it was.
    TfrReportImpl writer;
    writer.SetLayout(layout);
    // The first layout the judge saves to the user's folder finds no reports folder there yet; a folder
    // that cannot be made shows up as the write error.
    QDir().mkpath(QFileInfo(path).absolutePath());
    writer.Save(path);
    report_.SetLayout(std::move(layout));
    report_.SetFileName(path);
    modified_ = false;
    UpdateTitle();
}

void TfrDesignerForm::actSaveExecute() {
    if (report_.FileName().isEmpty()) return actSaveAsExecute();
    SaveTo(report_.FileName());
}

void TfrDesignerForm::actSaveAsExecute() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить макет отчёта"), report_.FileName(),
        QStringLiteral("Макеты отчётов (*.frf);;Все файлы (*)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".frf");
    SaveTo(path);
}

// A modified layout is saved on the judge's word before the designer closes; a failed save keeps it open.
bool TfrDesignerForm::ConfirmClose() {
    if (!modified_) return true;
    if (!Messages().Ask("Макет отчёта изменён. Сохранить изменения?"_cp)) return true;
    try {
        actSaveExecute();
    } catch (...) {
        ui::ShowCurrentException();
        return false;
    }
    return !modified_;
}

void TfrDesignerForm::reject() {
    if (ConfirmClose()) QDialog::reject();
}

} // namespace zelk::rep
