#pragma once
// The parts of the application that whole-program tests and the benchmark drive directly,
// between commands. The windows and main need none of them; a test of one operation builds
// that operation alone.

#include <string>

#include "app/CMorvaneApp.h"

namespace morvane {

struct AppInternals {
    static Locations& Places(CMorvaneApp& app) { return app.locations_; }
    static const std::string& SettingsPath(const CMorvaneApp& app) { return app.settingsPath_; }
    static BusyState& Busy(CMorvaneApp& app) { return app.busy_; }
    static RowRemoval& Removal(CMorvaneApp& app) { return app.removal_; }
    static TextRoundTrip& RoundTrip(CMorvaneApp& app) { return app.roundTrip_; }
    static const TextRoundTrip& RoundTrip(const CMorvaneApp& app) { return app.roundTrip_; }
    static Registration& Registrar(CMorvaneApp& app) { return app.registration_; }
    static Navigation& Navigator(CMorvaneApp& app) { return app.navigation_; }
    static RenameEngine& Engine(CMorvaneApp& app) { return app.renameEngine_; }
    static RenameCommand& Renamer(CMorvaneApp& app) { return app.renameCommand_; }
    static ListFile& ListFiles(CMorvaneApp& app) { return app.listFile_; }
};

}  // namespace morvane
