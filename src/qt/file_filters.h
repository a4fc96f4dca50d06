#pragma once

#include <QString>
#include <QStringList>

#include "editor/platform.h"

namespace voxtane::qt {

// How a file dialog opens for a request of the editor.
struct StartingPoint {
    QString folder;
    QString fileName;         // preselected file name; "" when the request names a pattern
    QStringList nameFilters;  // Qt's "Description (patterns)" form; empty: all files
    QString selectedFilter;   // the filter chosen at the start; "" for the dialog's default
};

// A filter as Qt shows and applies it. "*.*" means every file, as on the systems the file
// formats come from, so it becomes "*" here, where it would otherwise hide names without a dot.
[[nodiscard]] QString NameFilterOf(const editor::FileFilter& filter);

// A folder chooser opens in the initial name's folder itself. The initial name "<folder>/patch.syx"
// opens the folder with that name preselected; a pattern such as "<folder>/*.syx" opens the folder
// listing what the pattern matches: through the request's filter with that pattern, or through the
// pattern alone when there is none.
[[nodiscard]] StartingPoint StartingPointOf(const editor::FileDialogRequest& request);

}  // namespace voxtane::qt
