#include "support/AppFixture.h"
#include "app/AppInternals.h"

namespace morvane::test {

AppFixture::AppFixture() {
    AppInternals::Places(app).programPrefix = "/usr";
    AppInternals::Places(app).configPrefix = "/etc";
    AppInternals::Places(app).tempDir = dir.path() + "/";
    AppInternals::Places(app).journalDir = state / "morvane";
    app.Settings().registerFolders = 1;
    app.Settings().openOnSelection = 1;
    app.Settings().folderNavigation = 1;
    app.Tools().SetView(&host);
}

int AppFixture::Add(const std::string& relative, const std::string& content) {
    std::string path;
    if (!relative.empty() && relative.back() == '/') {
        path = dir.MakeFolder(relative.substr(0, relative.size() - 1));
    } else {
        path = dir.MakeFile(relative, content);
    }
    const int before = app.List().RowCount();
    if (!AppInternals::Registrar(app).RegisterPath(path))
        return -1;
    return before;
}

int AppFixture::RowOf(const std::string& relative) {
    std::string path = dir / relative;
    if (path.back() == '/')
        path.pop_back();
    FileEntry* e = app.List().CurrentPathIndex().Find(path);
    return e == nullptr ? -1 : e->row;
}

}  // namespace morvane::test
