#include "app/CommandTable.h"

#include <array>

#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "host/Host.h"
#include "ops/rows/ErrorRows.h"
#include "ops/rows/RowNumbering.h"

namespace morvane {

struct CommandParts {
    static ShellOpen& Opener(CMorvaneApp& app) { return app.shellOpen_; }
    static UndoRun& Undoer(CMorvaneApp& app) { return app.undoRun_; }
    static RunHistory& Historian(CMorvaneApp& app) { return app.history_; }
    static Host& Windows(CMorvaneApp& app) { return app.host_; }
    static Registration& Registrar(CMorvaneApp& app) { return app.registration_; }
    static Navigation& Navigator(CMorvaneApp& app) { return app.navigation_; }
    static RowRemoval& Removal(CMorvaneApp& app) { return app.removal_; }
    static TextRoundTrip& RoundTrip(CMorvaneApp& app) { return app.roundTrip_; }
    static RenameCommand& Renamer(CMorvaneApp& app) { return app.renameCommand_; }
    static ListFile& ListFiles(CMorvaneApp& app) { return app.listFile_; }
    static OpenPaths& Paths(CMorvaneApp& app) { return app.openPaths_; }
};

namespace {

using C = CMorvaneApp;
using P = CommandParts;
using A = CommandArgument;
constexpr WhileBusy kAhead = WhileBusy::GoesAhead;
constexpr WhileBusy kRefused = WhileBusy::Refused;
constexpr RowLockQuestion kNoQuestion = RowLockQuestion::None;
constexpr RowLockQuestion kAsk = RowLockQuestion::Ask;

// In the order of the enum, so a command's entry is found by its value.
constexpr std::array<CommandEntry, 33> kCommands = {{
    {Command::LoadListFile, nullptr, kAhead, kAsk,
     [](C& app, const A&) { P::ListFiles(app).OnLoadListFile(); }},
    {Command::OverwriteSave, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { P::ListFiles(app).OnOverwriteSaveListFile(); }},
    {Command::SaveListFileAs, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { P::ListFiles(app).OnSaveListFileAs(); }},
    {Command::Exit, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { app.OnCloseMainWindow(); }},
    {Command::RegisterFiles, nullptr, kAhead, kAsk,
     [](C& app, const A&) { P::Registrar(app).OnRegisterFiles(); }},
    {Command::RegisterFolder, nullptr, kAhead, kAsk,
     [](C& app, const A&) { P::Registrar(app).OnRegisterFolder(); }},
    {Command::RemoveSelected, nullptr, kAhead, kAsk,
     [](C& app, const A&) { P::Removal(app).RemoveSelectedRows(); }},
    {Command::ClearAll, nullptr, kAhead, kAsk,
     [](C& app, const A&) { P::Removal(app).ClearAllRows(); }},
    {Command::MoveUp, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { app.Order().MoveRowsUp(); }},
    {Command::MoveDown, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { app.Order().MoveRowsDown(); }},
    {Command::NameTools, nullptr, kRefused, kNoQuestion,
     [](C& app, const A&) { app.Tools().OnNameTools(); }},
    {Command::NameToolsPreset, nullptr, kRefused, kNoQuestion,
     [](C& app, const A& argument) { app.Tools().OnNameTools(argument.text); }},
    {Command::ToggleToolBar, nullptr, kAhead, kNoQuestion, nullptr},
    {Command::ToggleStatusBar, nullptr, kAhead, kNoQuestion, nullptr},
    {Command::ChooseFont, nullptr, kAhead, kNoQuestion, [](C& app, const A&) { app.ChooseFont(); }},
    {Command::Options, nullptr, kAhead, kNoQuestion, [](C& app, const A&) { app.OnOptions(); }},
    // The check button has toggled itself already: a busy refusal has to put it back.
    {Command::EditInTextEditor, nullptr, WhileBusy::Inside, kNoQuestion,
     [](C& app, const A&) { P::RoundTrip(app).OnEditInTextEditor(false); }},
    {Command::EditorButton, nullptr, WhileBusy::Inside, kNoQuestion,
     [](C& app, const A&) { P::RoundTrip(app).OnEditInTextEditor(true); }},
    {Command::Rename, nullptr, kRefused, kNoQuestion,
     [](C& app, const A&) { P::Renamer(app).RenameAll(); }},
    {Command::UndoRename, nullptr, kRefused, kAsk,
     [](C& app, const A&) { P::Undoer(app).UndoLastRun(); }},
    {Command::History, nullptr, kRefused, kAsk,
     [](C& app, const A&) { P::Historian(app).OnHistory(); }},
    {Command::About, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { P::Windows(app).ShowAbout(); }},
    // Only a folder shown in the list replaces the rows; a file opens beside them.
    {Command::Open, [](C& app) { return P::Opener(app).Applies(); }, kRefused,
     RowLockQuestion::Inside, [](C& app, const A&) { P::Opener(app).OpenSelectedEntries(); }},
    {Command::GoUp, [](C& app) { return P::Navigator(app).CanGoUp(); }, kRefused, kAsk,
     [](C& app, const A&) { P::Navigator(app).OnGoUp(); }},
    {Command::EditName, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { P::Windows(app).BeginEditSelected(); }},
    {Command::NumberNames, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) {
         P::Windows(app).BeginEditSelected();
         RowNumbering(app.List(), app.Rules()).NumberSelectedRows();
     }},
    {Command::SelectAll, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { app.List().SelectAll(); }},
    {Command::NextError, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { ErrorRows(app.List(), P::Windows(app)).GoToNext(true); }},
    {Command::PreviousError, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { ErrorRows(app.List(), P::Windows(app)).GoToNext(false); }},
    {Command::FirstError, nullptr, kAhead, kNoQuestion,
     [](C& app, const A&) { ErrorRows(app.List(), P::Windows(app)).GoToFirst(); }},
    {Command::DropFiles, nullptr, kAhead, kAsk,
     [](C& app, const A& argument) { P::Registrar(app).OnDropFiles(argument.paths); }},
    {Command::SortByColumn, nullptr, kAhead, kNoQuestion,
     [](C& app, const A& argument) { app.Order().SortByColumn(argument.column); }},
    // A list file replaces the rows and the other paths come as a drop: both break the tie.
    {Command::OpenPaths, nullptr, kAhead, kAsk,
     [](C& app, const A& argument) { P::Paths(app).Open(argument.paths); }},
}};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (static_cast<std::size_t>(kCommands[i].command) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "the command table follows the order of Command");
static_assert(static_cast<std::size_t>(Command::OpenPaths) + 1 == kCommands.size(),
              "every command has an entry");

}  // namespace

const CommandEntry& CommandEntryOf(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

}  // namespace morvane
