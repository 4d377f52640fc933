#include "support/ScriptedAnswers.h"

#include <utility>

namespace morvane::test {

namespace {

template <typename T>
T TakeFirst(std::vector<T>& queue) {
    if (queue.empty())
        return {};
    T first = std::move(queue.front());
    queue.erase(queue.begin());
    return first;
}

}  // namespace

void ScriptedAnswers::AnswerWarning(const std::string& text, const std::string& caption) {
    warnings.push_back({text, caption});
}

bool ScriptedAnswers::AnswerYesNo(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    if (whileAsked)
        whileAsked();
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

int ScriptedAnswers::AnswerChoice(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    if (whileAsked)
        whileAsked();
    if (choiceAnswers.empty())
        return -1;
    const int answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedAnswers::AnswerFilesToRegister() {
    return TakeFirst(filesToRegister);
}

std::string ScriptedAnswers::AnswerFolderToRegister(const std::string& title) {
    folderTitles.push_back(title);
    return TakeFirst(foldersToRegister);
}

std::string ScriptedAnswers::AnswerListFileToLoad() {
    return TakeFirst(listFilesToLoad);
}

std::string ScriptedAnswers::AnswerListFileToSave() {
    return TakeFirst(listFilesToSave);
}

bool ScriptedAnswers::AnswerFont(FontDescription& font) {
    return fontDialog ? fontDialog(font) : false;
}

bool ScriptedAnswers::AnswerOptions(Options& options) {
    return optionsDialog ? optionsDialog(options) : false;
}

bool ScriptedAnswers::AnswerNameTools(NameTools& tools) {
    return nameToolsDialog ? nameToolsDialog(tools) : false;
}

}  // namespace morvane::test
