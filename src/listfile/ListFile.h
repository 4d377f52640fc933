#pragma once
// Saving and loading the list (.mvf files) and the commands around them.

#include <string>

namespace morvane {

class CMorvaneApp;

class ListFile {
public:
    explicit ListFile(CMorvaneApp& app) : app_(app) {}

    bool SaveListFile(const std::string& path);
    bool LoadListFile(const std::string& path);
    void OnLoadListFile();
    void OnSaveListFileAs();
    void OnOverwriteSaveListFile();

private:
    CMorvaneApp& app_;
};

}  // namespace morvane
