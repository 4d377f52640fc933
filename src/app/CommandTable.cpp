#include "app/CommandTable.h"

#include <array>

#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "host/Host.h"
#include "ops/RowNumbering.h"

namespace morvane {

namespace {

using C = CMorvaneApp;

// In the order of the enum, so a command's entry is found by its value.
constexpr std::array<CommandEntry, 25> kCommands = {{
    {Command::LoadListFile, true, [](C& app) { app.ListFiles().OnLoadListFile(); }},
    {Command::OverwriteSave, false, [](C& app) { app.ListFiles().OnOverwriteSaveListFile(); }},
    {Command::SaveListFileAs, false, [](C& app) { app.ListFiles().OnSaveListFileAs(); }},
    {Command::Exit, false, [](C& app) { app.OnCloseMainWindow(); }},
    {Command::RegisterFiles, false, [](C& app) { app.Registrar().OnRegisterFiles(); }},
    {Command::RegisterFolder, true, [](C& app) { app.Registrar().OnRegisterFolder(); }},
    {Command::RemoveSelected, true, [](C& app) { app.Removal().RemoveSelectedRows(); }},
    {Command::ClearAll, true, [](C& app) { app.Removal().ClearAllRows(); }},
    {Command::MoveUp, false, [](C& app) { app.Order().MoveRowsUp(); }},
    {Command::MoveDown, false, [](C& app) { app.Order().MoveRowsDown(); }},
    {Command::NameTools, false, [](C& app) { app.Tools().OnNameTools(); }},
    {Command::ToggleToolBar, false, nullptr},
    {Command::ToggleStatusBar, false, nullptr},
    {Command::ChooseFont, false, [](C& app) { app.ChooseFont(); }},
    {Command::Options, false, [](C& app) { app.OnOptions(); }},
    {Command::EditInTextEditor, false, [](C& app) { app.RoundTrip().OnEditInTextEditor(false); }},
    {Command::EditorButton, false, [](C& app) { app.RoundTrip().OnEditInTextEditor(true); }},
    {Command::Rename, false, [](C& app) { app.Renamer().RenameAll(); }},
    {Command::UndoRename, true, [](C& app) { app.Undoer().UndoLastRun(); }},
    {Command::About, false, [](C& app) { app.UserInterface().ShowAbout(); }},
    {Command::Open, false, [](C& app) { app.Opener().OpenSelectedEntries(); }},
    {Command::GoUp, false, [](C& app) { app.Registrar().OnGoUp(); }},
    {Command::EditName, false, [](C& app) { app.UserInterface().BeginEditSelected(); }},
    {Command::NumberNames, false,
     [](C& app) {
         app.UserInterface().BeginEditSelected();
         RowNumbering(app.List(), app.Rules()).NumberSelectedRows();
     }},
    {Command::SelectAll, false, [](C& app) { app.List().SelectAll(); }},
}};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (static_cast<std::size_t>(kCommands[i].command) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "the command table follows the order of Command");
static_assert(static_cast<std::size_t>(Command::SelectAll) + 1 == kCommands.size(),
              "every command has an entry");

}  // namespace

const CommandEntry& CommandEntryOf(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

}  // namespace morvane
