#include "list/Registration.h"

namespace morvane {

bool Registration::RegisterPath(const std::string&) {
    return false;
}
void Registration::BeginRegistration() {}
void Registration::EndRegistration() {}
void Registration::RegisterFolderTree(const std::string&, float) {}
int Registration::CountFolderEntries(const std::string&) {
    return 0;
}
void Registration::ShowFolder(const std::string&) {}
void Registration::ShowDrivesAndFolders() {}
bool Registration::RegisterDriveRow(const std::string&) {
    return false;
}
void Registration::OnDropFiles(const std::vector<std::string>&) {}
void Registration::OnRegisterFiles() {}
void Registration::OnRegisterFolder() {}
void Registration::OnGoUp() {}

}  // namespace morvane
