// Scenarios through the real windows, offscreen: registering dropped files, sorting by a
// header click, typing into the name editor and renaming every row, each on a list of --files
// rows.

#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "platform/FileSystem.h"
#include "ui/CEditName.h"
#include "ui/CListCtrlFile.h"
#include "ui/CMainFrame.h"
#include "ui/FileListModel.h"
#include "ui/QtHost.h"

namespace {

using morvane::bench::BenchContext;
using morvane::bench::Measurement;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "morvane-bench-gui";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics go first, and a QApplication torn down after
    // them crashes.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// The window system's host, with every question answered yes as the user at the keyboard would.
class AnsweringHost : public morvane::QtHost {
public:
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

// The program with its main window, over the benchmark's temporary folder.
struct GuiProgram {
    explicit GuiProgram(const std::string& base) {
        Application();
        host.SetApp(&app);
        environment.programDir = base;
        environment.tempDir = base + "/";
        environment.settingsPath = base + "/morvane-bench-config.ini";
        app.StartUp({}, environment);
        morvane::AppInternals::Places(app).programPrefix = "/usr";
        morvane::AppInternals::Places(app).configPrefix = "/etc";
        frame = host.MainFrame();
        host.WaitForEvents(0);
    }
    ~GuiProgram() {
        app.ShutDown();
        std::remove(environment.settingsPath.c_str());
    }
    // Runs the main loop's wait until `rows` rows are registered and shown.
    void Settle(std::size_t rows) {
        const auto wanted = static_cast<int>(rows);
        while (morvane::AppInternals::Busy(app).Depth() > 0 || app.List().RowCount() < wanted ||
               frame->List()->Model()->rowCount() < app.List().RowCount())
            host.WaitForEvents(32);
        host.WaitForEvents(0);
    }

    morvane::StartupEnvironment environment;
    AnsweringHost host;
    morvane::CMorvaneApp app{host, morvane::RealFileSystem()};
    morvane::CMainFrame* frame = nullptr;
};

void Drop(QWidget* target, const QMimeData& data) {
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void RegisterAll(GuiProgram& program, const std::vector<std::string>& files) {
    morvane::AppInternals::Registrar(program.app).OnDropFiles(files);
    program.Settle(files.size());
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

MORVANE_BENCH_SCENARIO(GuiRegisterDrop, "gui: register dropped files through the window") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    QMimeData data;
    {
        Application();
        QList<QUrl> urls;
        urls.reserve(static_cast<qsizetype>(tree.files.size()));
        for (const std::string& file : tree.files)
            urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file)));
        data.setUrls(urls);
    }
    // The registration with no window at all, first: the tree is freshest for it.
    morvane::bench::BenchHost host;
    std::unique_ptr<morvane::CMorvaneApp> app;
    const Measurement core = ctx.Measure(
        [&] { morvane::AppInternals::Registrar(*app).OnDropFiles(tree.files); },
        [&] {
            app = std::make_unique<morvane::CMorvaneApp>(host, morvane::RealFileSystem());
            morvane::AppInternals::Places(*app).programPrefix = "/usr";
            morvane::AppInternals::Places(*app).configPrefix = "/etc";
            app->Settings().registerFolders = 1;
        },
        [&] { app.reset(); });
    std::unique_ptr<GuiProgram> program;
    int rows = 0;
    const Measurement gui = ctx.Measure(
        [&] {
            Drop(program->frame->List()->viewport(), data);
            program->Settle(tree.files.size());
            rows = program->frame->List()->Model()->rowCount();
        },
        [&] { program = std::make_unique<GuiProgram>(tree.root); }, [&] { program.reset(); });

    ctx.Report("drop " + std::to_string(rows) + " files: window vs core alone", gui, core,
               static_cast<std::size_t>(rows), {.maxRatio = 1.5});
}

MORVANE_BENCH_SCENARIO(GuiSortByName, "gui: sort by a header click") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    GuiProgram program(tree.root);
    RegisterAll(program, tree.files);
    QHeaderView* header = program.frame->List()->horizontalHeader();
    const auto click = [&](int column) {
        const QPointF at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                         header->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, header->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, header->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &press);
        QApplication::sendEvent(header->viewport(), &release);
        program.host.WaitForEvents(0);
    };
    const Measurement gui = ctx.Measure([&] {
        click(morvane::ColCurrentName);  // descending
        click(morvane::ColCurrentName);  // ascending
    });
    // The bare work: two sorts of the same names as plain strings.
    std::vector<std::string> names;
    for (int row = 0; row < program.app.List().RowCount(); ++row)
        names.emplace_back(program.app.List().Cell(row, morvane::ColCurrentName));
    const Measurement bare = ctx.Measure([&] {
        std::vector<std::string> copy = names;
        std::stable_sort(copy.begin(), copy.end(), std::greater<>());
        std::stable_sort(copy.begin(), copy.end());
        morvane::bench::KeepAlive(copy.front());
    });
    ctx.Report("sort " + std::to_string(names.size()) + " rows by name, twice", gui, bare, 0);
}

MORVANE_BENCH_SCENARIO(GuiTypeInEditor, "gui: typing into the name editor") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    GuiProgram program(tree.root);
    RegisterAll(program, tree.files);
    const int row = program.app.List().RowCount() / 2;
    program.app.List().SetSelection({row});
    program.app.List().SetFocusRow(row);
    program.frame->List()->Editor()->BeginEditSelected();
    program.host.WaitForEvents(0);
    morvane::CEditName* editor = program.frame->List()->Editor();
    editor->end(false);
    const char* typed = "renamed-file-name-typed-here";
    std::vector<double> times;
    for (const char* c = typed; *c != '\0'; ++c) {
        const QString text(QChar::fromLatin1(*c));
        const auto start = std::chrono::steady_clock::now();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &press);
        QApplication::sendEvent(editor, &release);
        program.host.WaitForEvents(0);  // includes the repaint
        times.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    const bool applied =
        program.app.List().Cell(row, morvane::ColNewName).find(typed) != std::string::npos;
    double total = 0;
    for (double t : times)
        total += t;
    const double mean = total / static_cast<double>(times.size());
    const double worst = *std::max_element(times.begin(), times.end());
    const bool ok = applied && worst < 0.005;
    ctx.NoteTarget(ok);
    std::printf("%-44s mean %7.3f ms   worst %7.3f ms   (%zu keys, %d rows)   target: <5 ms %s\n",
                "typing into the name editor", mean * 1000, worst * 1000, times.size(),
                program.app.List().RowCount(), ok ? "ok" : "MISSED");
    std::fflush(stdout);
}

MORVANE_BENCH_SCENARIO(GuiRename, "gui: rename every row through the window") {
    namespace mb = morvane::bench;
    const mb::BenchTree& tree = ctx.Tree();
    const mb::Plan plan = mb::MakePlan(tree);
    mb::WriteContents(tree);
    std::unique_ptr<GuiProgram> program;
    const Measurement gui = ctx.Measure(
        [&] {
            program->frame->ToolAction(morvane::Command::Rename)->trigger();
            program->Settle(0);
        },
        [&] {
            program = std::make_unique<GuiProgram>(tree.root);
            morvane::AppInternals::Places(program->app).journalDir = tree.root + "/.journals";
            RegisterAll(*program, tree.files);
            mb::NameByPlan(program->app, plan);
            program->host.WaitForEvents(0);
        },
        [&] {
            if (program->app.List().RowCount() != 0)
                mb::Fail("the window's rename left rows behind");
            mb::CheckRenamed(tree, plan);
            mb::Restore(tree, plan);
            program.reset();
        });
    const Measurement bare = ctx.Measure([&] { mb::BareRename(tree, plan); }, {},
                                         [&] {
                                             mb::CheckRenamed(tree, plan);
                                             mb::Restore(tree, plan);
                                         });
    ctx.Report("rename " + std::to_string(tree.files.size()) + " files through the window", gui,
               bare, tree.files.size());
    ctx.RebuildTree();
}
