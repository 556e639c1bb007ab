// Whether a file can go to the trash, and moving it there.
#include "ui/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <sys/stat.h>
#include <unistd.h>
#define ZELK_FREEDESKTOP_TRASH 1
#endif

namespace zelk::ui {

#ifdef ZELK_FREEDESKTOP_TRASH
namespace {

// A trash folder that is there, or that can be made in a folder that is there: the trash is made with
// one mkdir, never with its missing parents.
bool CanHaveTrash(const QString& path) {
    const QFileInfo trash(path);
    if (trash.exists()) return trash.isDir() && trash.isWritable();
    const QFileInfo parent(trash.absolutePath());
    return parent.isDir() && parent.isWritable();
}

// The shared ".Trash" at the top of a disk counts only as the freedesktop.org trash rules allow it: a
// real folder with the sticky bit.
bool IsSharedTrash(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder);
    struct stat st {};
    return ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX);
}

// The trash folder a file goes to, in the order of the freedesktop.org trash rules, or empty
// text where it has none: a file on the home folder's disk goes to $XDG_DATA_HOME/Trash, another to
// $topdir/.Trash/$uid or $topdir/.Trash-$uid of its own disk (the home trash cannot take it: a file is
// moved to the trash by renaming it).
QString TrashFolderFor(const QString& path) {
    const QStorageInfo disk(QFileInfo(path).absoluteFilePath());
    const QString user = QString::number(::getuid());
    if (disk != QStorageInfo(QDir::home())) {
        const QString top = disk.rootPath();
        const QString shared = top + QStringLiteral("/.Trash");
        if (IsSharedTrash(shared) && CanHaveTrash(shared + u'/' + user)) return shared + u'/' + user;
        const QString own = top + QStringLiteral("/.Trash-") + user;
        return CanHaveTrash(own) ? own : QString();
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString home = data + QStringLiteral("/Trash");
    return !data.isEmpty() && CanHaveTrash(home) ? home : QString();
}

} // namespace

bool TrashAvailable(const QString& path) {
    return !TrashFolderFor(path).isEmpty();
}

// Qt goes on with the current folder as the trash when it cannot make the real one; a file that lands
// anywhere but in the trash folder is put back where it was.
bool MoveToTrash(const QString& path) {
    const QString trash = TrashFolderFor(path);
    if (trash.isEmpty()) return false;
    QString moved;
    if (!QFile::moveToTrash(path, &moved)) return false;
    const QFileInfo where(moved);
    if (QDir::cleanPath(where.absolutePath()) == QDir::cleanPath(trash + QStringLiteral("/files")))
        return true;
    QFile::rename(moved, path);
    const QString files = where.absolutePath();
    const QString info = QDir::cleanPath(files + QStringLiteral("/../info"));
    QFile::remove(info + u'/' + where.fileName() + QStringLiteral(".trashinfo"));
    QDir().rmdir(files); // only when left empty
    QDir().rmdir(info);
    return false;
}
#else
bool TrashAvailable(const QString&) {
    return true;
}

bool MoveToTrash(const QString& path) {
    return QFile::moveToTrash(path);
}
#endif

} // namespace zelk::ui
