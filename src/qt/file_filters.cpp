#include "qt/file_filters.h"

#include <QFileInfo>
#include <algorithm>

namespace voxtane::qt {
namespace {

QString PatternOf(const std::string& pattern) {
    return pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern);
}

bool IsPattern(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

QString NameFilterOf(const editor::FileFilter& filter) {
    QStringList given;
    QStringList applied;
    for (const std::string& pattern : filter.patterns) {
        given << QString::fromStdString(pattern);
        applied << PatternOf(pattern);
    }
    QString description = QString::fromStdString(filter.description).trimmed();
    // A description that already ends in its own patterns is shown as it is, if they apply
    // unchanged; otherwise Qt is given the patterns that apply in parentheses of their own.
    const QString ownPatterns = QStringLiteral("(%1)").arg(given.join(QLatin1Char(' ')));
    if (description.endsWith(ownPatterns)) {
        if (given == applied) return description;
        description.chop(ownPatterns.size());
        description = description.trimmed();
    }
    return QStringLiteral("%1 (%2)").arg(description, applied.join(QLatin1Char(' ')));
}

StartingPoint StartingPointOf(const editor::FileDialogRequest& request) {
    const QFileInfo initial(QString::fromStdString(request.initialName));
    StartingPoint start;
    // A folder chooser opens in the folder itself, with no name filled in that one Enter would
    // choose.
    if (request.kind == editor::FileDialogKind::Folder) {
        start.folder = initial.filePath();
        return start;
    }
    start.folder = initial.path();
    for (const editor::FileFilter& filter : request.filters)
        start.nameFilters << NameFilterOf(filter);

    const QString name = initial.fileName();
    if (!IsPattern(name)) {
        start.fileName = name;
        if (!start.nameFilters.isEmpty()) start.selectedFilter = start.nameFilters.front();
        return start;
    }
    const auto listing = std::find_if(
        request.filters.begin(), request.filters.end(), [&name](const editor::FileFilter& filter) {
            return std::find(filter.patterns.begin(), filter.patterns.end(), name.toStdString()) !=
                   filter.patterns.end();
        });
    if (listing != request.filters.end()) {
        start.selectedFilter = start.nameFilters.at(int(listing - request.filters.begin()));
    } else {
        start.nameFilters.prepend(name);
        start.selectedFilter = name;
    }
    return start;
}

}  // namespace voxtane::qt
