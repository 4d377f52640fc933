#include "support/FakeHost.h"

namespace morvane::test {

void FakeHost::ShowWarning(const std::string& text, const std::string& caption) {
    AnswerWarning(text, caption);
}

bool FakeHost::AskYesNo(const std::string& text, const std::string& caption) {
    return AnswerYesNo(text, caption);
}

int FakeHost::AskChoice(const std::string& text, const std::string& caption,
                        const std::vector<std::string>&) {
    return AnswerChoice(text, caption);
}

std::vector<std::string> FakeHost::ChooseFilesToRegister() {
    return AnswerFilesToRegister();
}

std::string FakeHost::ChooseFolderToRegister(const std::string& title) {
    return AnswerFolderToRegister(title);
}
std::string FakeHost::ChooseListFileToLoad() {
    return AnswerListFileToLoad();
}
std::string FakeHost::ChooseListFileToSave() {
    return AnswerListFileToSave();
}

bool FakeHost::ChooseFont(FontDescription& font) {
    return AnswerFont(font);
}

std::optional<Options> FakeHost::RunOptionsDialog(const Options& current) {
    Options chosen = current;
    if (!AnswerOptions(chosen))
        return std::nullopt;
    return chosen;
}

void FakeHost::OpenProgressDialog() {
    progressOpen = true;
    ++progressOpenCount;
    overallText.clear();
    detailText.clear();
}

void FakeHost::CloseProgressDialog() {
    progressOpen = false;
}

void FakeHost::SetOverallText(const std::string& text) {
    if (progressOpen)
        overallText = text;
}

void FakeHost::SetOverallProgress(float fraction) {
    if (!progressOpen)
        return;
    overallProgress.push_back(fraction);
    SetStatusProgress(fraction);
}

void FakeHost::SetDetailText(const std::string& text) {
    if (progressOpen)
        detailText = text;
}

void FakeHost::SetDetailProgress(float fraction) {
    if (progressOpen)
        detailProgress.push_back(fraction);
}

void FakeHost::SetMainWindowEnabled(bool enabled) {
    if (!enabled)
        ++disableCount;
    windowEnabled = enabled;
}

void FakeHost::HandlePendingEvents() {
    ++pendingEventsCalls;
    if (onPendingEvents) {
        // Run once per call; a hook may replace itself.
        auto hook = onPendingEvents;
        hook();
    }
}

void FakeHost::WaitForEvents(int) {
    if (onWaitForEvents) {
        auto hook = onWaitForEvents;
        hook();
    }
}

void FakeHost::DescribeFile(const std::string&, bool isDirectory, std::string* typeName,
                            int* iconIndex) {
    *typeName = isDirectory ? "folder" : "file";
    *iconIndex = isDirectory ? 1 : 2;
}

}  // namespace morvane::test
