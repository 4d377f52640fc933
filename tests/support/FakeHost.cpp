#include "support/FakeHost.h"

namespace morvane::test {

void FakeHost::ShowWarning(const std::string& text, const std::string& caption) {
    warnings.push_back({text, caption});
}

bool FakeHost::AskYesNo(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

int FakeHost::AskChoice(const std::string& text, const std::string& caption,
                        const std::vector<std::string>&) {
    questions.push_back({text, caption});
    if (choiceAnswers.empty())
        return -1;
    const int answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

std::vector<std::string> FakeHost::ChooseFilesToRegister() {
    if (filesToRegister.empty())
        return {};
    auto files = filesToRegister.front();
    filesToRegister.erase(filesToRegister.begin());
    return files;
}

namespace {
std::string TakeFirst(std::vector<std::string>& queue) {
    if (queue.empty())
        return {};
    std::string first = queue.front();
    queue.erase(queue.begin());
    return first;
}
}  // namespace

std::string FakeHost::ChooseFolderToRegister(const std::string&) {
    return TakeFirst(foldersToRegister);
}
std::string FakeHost::ChooseListFileToLoad() {
    return TakeFirst(listFilesToLoad);
}
std::string FakeHost::ChooseListFileToSave() {
    return TakeFirst(listFilesToSave);
}

bool FakeHost::ChooseFont(FontDescription& font) {
    return fontDialog ? fontDialog(font) : false;
}

std::optional<Options> FakeHost::RunOptionsDialog(const Options& current) {
    Options chosen = current;
    if (!optionsDialog || !optionsDialog(chosen))
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

void FakeHost::Pump() {
    ++pumpCalls;
    if (onPump) {
        // Run once per call; a hook may replace itself.
        auto hook = onPump;
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
