// TfrDesignerForm: the report designer. It edits a copy of a report's layout - the page, the bands and
// their text objects with all their properties - shows it as a design sheet and as a live preview over
// the report's datasets, and saves it to the report's layout file.
#pragma once

#include "ui/report/fr_layout.h"
#include "ui/report/fr_prepared.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelk::rep {

class TfrPageView;
class TfrReportImpl;

// The design sheet: the bands stacked in layout order under a caption each, with the objects' texts as
// written. Band areas carry kBandSource, objects their own source index.
TfrPreparedPage DesignPage(const TfrLayout& layout);

class TfrDesignerForm : public QDialog {
    Q_OBJECT
  public:
    TfrDesignerForm(TfrReportImpl& report, QWidget* parent = nullptr);
    ~TfrDesignerForm() override;

    const TfrLayout& Layout() const { return layout_; }
    bool Modified() const { return modified_; }

    // Selects the page (band -1), a band (object -1) or an object.
    void Select(int band, int object);
    int SelectedBand() const { return selBand_; }
    int SelectedObject() const { return selObject_; }

    void AddBand(TfrBandKind kind);
    // Adds a text object to the selected band (or to the band of the selected object).
    void AddTextObject();
    void DeleteSelected();
    // Writes the layout to `path` and hands it to the report; the report's file name becomes `path`.
    void SaveTo(const QString& path);
    // Prepares the live preview now instead of after the short pause that follows an edit.
    void RefreshPreview();
    const TfrPreparedReport& PreviewReport() const { return preview_; }

  protected:
    void reject() override;

  private:
    void CreateActions();
    void CreateLayout();
    QWidget* CreatePageProperties();
    QWidget* CreateBandProperties();
    QWidget* CreateObjectProperties();

    void RebuildTree();
    void ShowProperties();
    void StoreProperties();
    void Changed(bool structure);
    void UpdateTitle();
    void UpdateActions();
    void ShowPreviewPage(int index);
    void MoveObject(int source, QPointF deltaMm);
    bool ConfirmClose();

    void actSaveExecute();
    void actSaveAsExecute();
    void actMoveExecute(int step);

    TfrReportImpl& report_;
    TfrLayout layout_;
    TfrPreparedPage design_;
    TfrPreparedReport preview_;
    int previewPage_ = 0;
    int selBand_ = -1, selObject_ = -1;
    bool modified_ = false;
    bool loading_ = false; // the property editors are being filled, not edited

    QTreeWidget* tvLayout_;
    QStackedWidget* swProperties_;
    QTabWidget* tcView_;
    TfrPageView* pvDesign_;
    TfrPageView* pvPreview_;
    QLabel* lbPreviewStatus_;
    QSpinBox* edPreviewPage_;
    QTimer* tmrPreview_;
    QToolButton* tbAddBand_;

    QDoubleSpinBox *edPageWidth_, *edPageHeight_, *edMarginLeft_, *edMarginTop_, *edMarginRight_,
        *edMarginBottom_;
    QComboBox* cbBandKind_;
    QDoubleSpinBox* edBandHeight_;
    QComboBox* cbDataset_;
    QLineEdit* edObjName_;
    QDoubleSpinBox *edObjLeft_, *edObjTop_, *edObjWidth_, *edObjHeight_, *edObjFontSize_, *edFrameWidth_;
    QPlainTextEdit* edObjText_;
    QFontComboBox* cbObjFont_;
    QCheckBox *cbObjBold_, *cbObjItalic_, *cbObjUnderline_, *cbObjWrap_, *cbObjFill_;
    QCheckBox *cbFrameLeft_, *cbFrameTop_, *cbFrameRight_, *cbFrameBottom_;
    QComboBox *cbObjAlign_, *cbObjVAlign_;
    QToolButton *btnObjFill_, *btnObjColor_;

    QAction* actSave;
    QAction* actSaveAs;
    QAction* actAddReportTitle;
    QAction* actAddPageHeader;
    QAction* actAddMasterData;
    QAction* actAddReportSummary;
    QAction* actAddPageFooter;
    QAction* actAddText;
    QAction* actDelete;
    QAction* actMoveUp;
    QAction* actMoveDown;
    QAction* actHelp;
    QAction* actClose;
};

} // namespace zelk::rep
