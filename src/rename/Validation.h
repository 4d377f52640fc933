#pragma once
// Checking new names and keeping every row's error bits right as names, rows and files come
// and go.

#include <string>
#include <string_view>

namespace morvane {

class CMorvaneApp;

class Validation {
public:
    explicit Validation(CMorvaneApp& app) : app_(app) {}

    // Sets the row's new name (trailing blanks cut) and validates it. Always true.
    bool SetNewName(int row, std::string name);
    // The checks of SetNewName for a row whose name, keys and cells are already set.
    void CheckRow(int row);
    void OnRowRegistered(int row);
    void OnRowRemoved(int row);
    // F5: every selected row's new name becomes its 0-based position in "%08x".
    void SetSelectedNamesToPositions();

    static bool HasForbiddenCharacter(std::string_view name);

    void ReleaseOldDuplicate(int row);
    bool CheckDuplicate(int row);
    bool CheckExistingFile(int row);
    bool CheckSwapTarget(int row);
    void MarkDependents(int row);
    void ReleaseDependents(int row);

private:
    CMorvaneApp& app_;
};

}  // namespace morvane
