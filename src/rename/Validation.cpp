#include "rename/Validation.h"

namespace morvane {

bool Validation::SetNewName(int, std::string) {
    return true;
}
void Validation::CheckRow(int) {}
void Validation::OnRowRegistered(int) {}
void Validation::OnRowRemoved(int) {}
void Validation::SetSelectedNamesToPositions() {}
bool Validation::HasForbiddenCharacter(std::string_view) {
    return false;
}
void Validation::ReleaseOldDuplicate(int) {}
bool Validation::CheckDuplicate(int) {
    return false;
}
bool Validation::CheckExistingFile(int) {
    return false;
}
bool Validation::CheckSwapTarget(int) {
    return false;
}
void Validation::MarkDependents(int) {}
void Validation::ReleaseDependents(int) {}

}  // namespace morvane
