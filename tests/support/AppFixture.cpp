#include "support/AppFixture.h"

namespace morvane::test {

AppFixture::AppFixture() {
    app.windowsDir = "/usr";
    app.systemDir = "/etc";
    app.tempDir = dir.path() + "/";
    app.settings.registerFolders = 1;
    app.settings.openOnSelection = 1;
    app.settings.folderNavigation = 1;
}

int AppFixture::Add(const std::string& relative, const std::string& content) {
    std::string path;
    if (!relative.empty() && relative.back() == '/') {
        path = dir.MakeFolder(relative.substr(0, relative.size() - 1));
    } else {
        path = dir.MakeFile(relative, content);
    }
    const int before = app.list.RowCount();
    if (!app.registration.RegisterPath(path))
        return -1;
    return before;
}

int AppFixture::RowOf(const std::string& relative) {
    std::string path = dir / relative;
    if (path.back() == '/')
        path.pop_back();
    FileEntry* e = app.list.CurrentPathIndex().Find(path);
    return e == nullptr ? -1 : e->row;
}

}  // namespace morvane::test
