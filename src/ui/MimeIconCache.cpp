#include "ui/MimeIconCache.h"

#include <QApplication>
#include <QLocale>
#include <QStyle>

#include "platform/Paths.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

bool HasWildcard(QStringView text) {
    return text.contains(u'*') || text.contains(u'?') || text.contains(u'[');
}

// The window speaks Japanese whatever the process locale. QMimeType reads the default locale,
// so it is switched for this look-up alone: numbers and dates elsewhere keep their format.
// A type without a Japanese comment gets its untranslated one.
QString JapaneseComment(const QMimeType& type) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QString comment = type.comment();
    QLocale::setDefault(previous);
    return comment;
}

}  // namespace

MimeIconCache::MimeIconCache() {
    Type drive;  // kDriveIconIndex
    drive.iconName = QStringLiteral("drive-harddisk");
    drive.directory = true;
    types_.push_back(std::move(drive));

    for (const QMimeType& type : db_.allMimeTypes()) {
        for (const QString& glob : type.globPatterns()) {
            if (!HasWildcard(glob)) {
                literalNames_.insert(glob.toLower());
                continue;
            }
            if (glob.startsWith(u'*')) {
                // "*" then a text that starts with a dot or holds none (a trailing "*"
                // allowed): whatever it matches lies after the name's first dot.
                QStringView rest = QStringView(glob).mid(1);
                if (rest.endsWith(u'*'))
                    rest.chop(1);
                if (!rest.contains(u'*') && (rest.startsWith(u'.') || !rest.contains(u'.')))
                    continue;
            } else if (glob.endsWith(u'*') && !HasWildcard(QStringView(glob).chopped(1))) {
                prefixes_.push_back(glob.chopped(1).toLower());
                continue;
            }
            otherGlobs_.push_back(QRegularExpression::fromWildcard(glob, Qt::CaseInsensitive));
        }
    }
}

bool MimeIconCache::MayShareAnswer(const QString& name) const {
    const QString lower = name.toLower();
    if (literalNames_.contains(lower))
        return false;
    for (const QString& prefix : prefixes_) {
        if (lower.startsWith(prefix))
            return false;
    }
    for (const QRegularExpression& glob : otherGlobs_) {
        if (glob.match(name).hasMatch())
            return false;
    }
    return true;
}

QMimeType MimeIconCache::TypeOfName(const QString& name) {
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0 || dot + 1 == name.size() || !MayShareAnswer(name))
        return db_.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    // Case kept: some globs tell "*.C" from "*.c".
    const QString tail = name.mid(dot + 1);
    auto it = typeByTail_.constFind(tail);
    if (it != typeByTail_.constEnd())
        return it.value();
    QMimeType type = db_.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    typeByTail_.insert(tail, type);
    return type;
}

int MimeIconCache::IndexOf(const QMimeType& type, bool isDirectory) {
    const QString key = type.name();
    auto it = indexByName_.constFind(key);
    if (it != indexByName_.constEnd())
        return it.value();
    Type entry;
    entry.comment = Utf8(JapaneseComment(type));
    entry.iconName = type.iconName();
    entry.genericIconName = type.genericIconName();
    entry.directory = isDirectory;
    const int index = static_cast<int>(types_.size());
    types_.push_back(std::move(entry));
    indexByName_.insert(key, index);
    return index;
}

void MimeIconCache::Describe(const std::string& path, bool isDirectory, std::string* typeName,
                             int* iconIndex) {
    QMimeType type;
    if (isDirectory) {
        type = db_.mimeTypeForName(QStringLiteral("inode/directory"));
    } else {
        // By name only: reading every file's content would cost a read per row.
        type = TypeOfName(Qs(NameOf(path)));
    }
    const int index = IndexOf(type, isDirectory);
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
