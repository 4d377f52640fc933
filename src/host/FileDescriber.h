#pragma once
// What the desktop calls a file: its type name and icon.

#include <string>

namespace morvane {

class FileDescriber {
public:
    virtual ~FileDescriber() = default;

    // Type name (as a file manager shows it) and icon index of a path.
    virtual void DescribeFile(const std::string& /*path*/, bool /*isDirectory*/,
                              std::string* typeName, int* iconIndex) {
        typeName->clear();
        *iconIndex = 0;
    }
};

}  // namespace morvane
