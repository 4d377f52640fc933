#pragma once
// Message boxes, questions and the program's dialogs. Each returns the user's answer;
// empty results mean the user cancelled.

#include <optional>
#include <string>
#include <vector>

#include "host/FontDescription.h"
#include "host/Options.h"

namespace morvane {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Message boxes with a warning icon: OK only, and Yes/No (true for Yes).
    virtual void ShowWarning(const std::string& text, const std::string& caption) = 0;
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A question with buttons of its own, the first the default and the last answered by
    // Escape: the index of the one chosen, -1 when the box was closed without an answer.
    virtual int AskChoice(const std::string& text, const std::string& caption,
                          const std::vector<std::string>& buttons) = 0;

    virtual std::vector<std::string> ChooseFilesToRegister() = 0;
    virtual std::string ChooseFolderToRegister(const std::string& title) = 0;
    virtual std::string ChooseListFileToLoad() = 0;
    virtual std::string ChooseListFileToSave() = 0;
    virtual bool ChooseFont(FontDescription& font) = 0;
    // The options as chosen on OK.
    virtual std::optional<Options> RunOptionsDialog(const Options& current) = 0;
    virtual void ShowAbout() = 0;
};

}  // namespace morvane
