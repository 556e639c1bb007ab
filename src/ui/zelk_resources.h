// TZelkResources: what the windows share for the whole run - the small images of the list rows, the
// command images, the shared open and save dialogs, and the About and Help commands.
#pragma once

#include <QIcon>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QAction;
class QFileDialog;
class QMenuBar;
class QWidget;

namespace zelk::ui {

// Adds the command's key to its tooltip ("Проверить все записи (F9)"), so that a tool bar button tells
// the key as the menus do; a command without a key keeps its tooltip.
void ShowKeyInToolTip(QAction* action);

// F10 in `window` opens the first menu of `bar`; the arrow keys then move through the menus.
void OpenMenusWithF10(QWidget* window, QMenuBar* bar);

// "Описание|*.a; *.b|..." filter text as the name filters of a Qt file dialog ("Описание (*.a *.b)").
// "*.*" becomes "*", so that names without an extension are shown as well.
QStringList DialogFilters(const QString& pairs);

class TZelkResources : public QObject {
    Q_OBJECT
  public:
    TZelkResources();
    ~TZelkResources() override;

    // imlLists: the 12-pixel images of list rows, indexed by the image indexes of the rows.
    const std::vector<QIcon>& ListImages() const { return listImages_; }
    // imgMain: the image of a command or menu by its name (the icon file's base name).
    static QIcon Image(const QString& name);
    // The program's own icon.
    static QIcon AppIcon();

    QFileDialog* dlgOpen() const { return dlgOpen_.get(); }
    QFileDialog* dlgSave() const { return dlgSave_.get(); }
    QAction* About() const { return about_; }
    QAction* Help() const { return help_; }

  private:
    std::vector<QIcon> listImages_;
    std::unique_ptr<QFileDialog> dlgOpen_, dlgSave_;
    QAction* about_;
    QAction* help_;
};

// The one resources object of the run, created by the program entry before the main window.
TZelkResources& ZelkResources();
// Registers `r` as that object (the program entry and the tests); nullptr unregisters.
void SetZelkResources(TZelkResources* r);

} // namespace zelk::ui
