#include "ui/MimeIconCache.h"

#include <QApplication>
#include <QStyle>

#include "ui/QtText.h"

namespace morvane {

MimeIconCache::MimeIconCache() {
    Type drive;
    drive.iconName = QStringLiteral("drive-harddisk");
    drive.directory = true;
    types_.push_back(std::move(drive));
}

void MimeIconCache::Describe(const std::string& path, bool isDirectory, std::string* typeName,
                             int* iconIndex) {
    QMimeType type;
    if (isDirectory) {
        type = db_.mimeTypeForName(QStringLiteral("inode/directory"));
    } else {
        // By name only: reading every file's content would cost a read per row.
        const auto slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        type = db_.mimeTypeForFile(Qs(name), QMimeDatabase::MatchExtension);
    }
    const QString key = type.name();
    auto it = indexByName_.constFind(key);
    int index = 0;
    if (it == indexByName_.constEnd()) {
        Type entry;
        entry.comment = Utf8(type.comment());
        entry.iconName = type.iconName();
        entry.genericIconName = type.genericIconName();
        entry.directory = isDirectory;
        index = static_cast<int>(types_.size());
        types_.push_back(std::move(entry));
        indexByName_.insert(key, index);
    } else {
        index = it.value();
    }
    *typeName = types_[static_cast<std::size_t>(index)].comment;
    *iconIndex = index;
}

QIcon MimeIconCache::Icon(int index) const {
    if (index < 0 || index >= Count())
        return {};
    const Type& type = types_[static_cast<std::size_t>(index)];
    if (type.icon.isNull()) {
        QStyle* style = QApplication::style();
        QIcon fallback;
        if (index == 0) {
            fallback = style->standardIcon(QStyle::SP_DriveHDIcon);
        } else {
            fallback =
                style->standardIcon(type.directory ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
        }
        if (!type.genericIconName.isEmpty())
            fallback = QIcon::fromTheme(type.genericIconName, fallback);
        type.icon = QIcon::fromTheme(type.iconName, fallback);
    }
    return type.icon;
}

}  // namespace morvane
