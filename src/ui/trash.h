// The desktop's trash, where "Удалить файл" puts a log so that the judge can take it back. Where a file
// has no trash to go to (a disk without one, a user data folder that cannot be made), the program says
// so before it deletes the file for good.
#pragma once

#include <QString>

namespace zelk::ui {

// True when the file at `path` can be moved to the trash. On Linux that is the freedesktop.org trash:
// the one in the user's data folder ($XDG_DATA_HOME/Trash) for a file on the home folder's disk, else
// the trash folder at the top of the file's own disk.
bool TrashAvailable(const QString& path);

// Moves the file to the trash; false when the system refused.
bool MoveToTrash(const QString& path);

} // namespace zelk::ui
