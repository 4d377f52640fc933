#include "listfile/ListFile.h"

namespace morvane {

bool ListFile::SaveListFile(const std::string&) {
    return false;
}
bool ListFile::LoadListFile(const std::string&) {
    return false;
}
void ListFile::OnLoadListFile() {}
void ListFile::OnSaveListFileAs() {}
void ListFile::OnOverwriteSaveListFile() {}

}  // namespace morvane
