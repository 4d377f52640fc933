#pragma once
// The answers a test scripts for the program's questions and dialogs, and what the program
// asked. Both scripted hosts, the core one and the one with real windows, answer from here, so
// a test reads the same whichever host it runs on.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/FontDescription.h"

namespace morvane {
struct Options;
class NameTools;
}  // namespace morvane

namespace morvane::test {

struct ScriptedAnswers {
    struct Question {
        std::string text;
        std::string caption;
    };

    // Each takes the next scripted answer and records what was asked.
    void AnswerWarning(const std::string& text, const std::string& caption);
    bool AnswerYesNo(const std::string& text, const std::string& caption);
    int AnswerChoice(const std::string& text, const std::string& caption);
    std::vector<std::string> AnswerFilesToRegister();
    std::string AnswerFolderToRegister(const std::string& title);
    std::string AnswerListFileToLoad();
    std::string AnswerListFileToSave();
    bool AnswerFont(FontDescription& font);
    bool AnswerOptions(Options& options);
    bool AnswerNameTools(NameTools& tools);

    // Scripted answers; an empty queue is the user cancelling.
    std::deque<bool> yesNoAnswers;  // empty queue: No
    std::deque<int> choiceAnswers;  // empty queue: closed without an answer
    std::vector<std::vector<std::string>> filesToRegister;
    std::vector<std::string> foldersToRegister;
    std::vector<std::string> listFilesToLoad;
    std::vector<std::string> listFilesToSave;
    std::function<bool(FontDescription&)> fontDialog;
    std::function<bool(Options&)> optionsDialog;  // edits the options it is shown; true for OK
    std::function<bool(NameTools&)> nameToolsDialog;
    // What the user does while a yes/no question or a choice stands open.
    std::function<void()> whileAsked;

    // What the program asked.
    std::vector<Question> warnings;
    std::vector<Question> questions;  // yes/no questions and choices, in order
    std::vector<std::string> folderTitles;
};

}  // namespace morvane::test
