#pragma once
// Type names and icons of files by their MIME type, found from the name alone. Each MIME
// type seen gets one icon index; index 0 is the drive icon that drive rows use.

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <string>
#include <vector>

namespace morvane {

class MimeIconCache {
public:
    MimeIconCache();

    void Describe(const std::string& path, bool isDirectory, std::string* typeName, int* iconIndex);
    // The icon of an index handed out by Describe; an unknown index gives a null icon.
    QIcon Icon(int index) const;
    int Count() const { return static_cast<int>(types_.size()); }

private:
    // The MIME type of a file name, by the database or by an earlier name that is bound to
    // get the same answer.
    QMimeType TypeOfName(const QString& name);
    bool MayShareAnswer(const QString& name) const;
    int IndexOf(const QMimeType& type, bool isDirectory);

    struct Type {
        std::string comment;
        QString iconName;
        QString genericIconName;
        bool directory = false;
        mutable QIcon icon;  // loaded on first use
    };

    QMimeDatabase db_;
    QHash<QString, int> indexByName_;
    std::vector<Type> types_;

    // Most globs are "*" followed by a text that starts with a dot or holds none: the answer
    // for such a name depends only on what follows its first dot. Names the other globs
    // could match are looked up one by one.
    QSet<QString> literalNames_;  // lower case
    QStringList prefixes_;        // lower case, "README" of "README*"
    std::vector<QRegularExpression> otherGlobs_;
    QHash<QString, QMimeType> typeByTail_;
};

}  // namespace morvane
