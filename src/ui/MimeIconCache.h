#pragma once
// Type names and icons of files by their MIME type, found from the name alone. Each MIME
// type seen gets one icon index; index 0 is the drive icon that drive rows use.

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
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
};

}  // namespace morvane
