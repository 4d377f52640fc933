// Two starts of the program in one desktop session: the program itself started beside the
// test, which plays the window already open, through the session's socket.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/QtText.h"
#include "ui/SessionSocket.h"

namespace morvane {
namespace {

using Paths = std::vector<std::string>;

// Leaves a socket file that nothing listens on, as a start that crashed does.
bool MakeStaleSocket(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

}  // namespace

class HandOverTest : public QObject {
    Q_OBJECT

    // The program run with `arguments`; killed by the QProcess's destructor if a test fails
    // before it ends, so none is left behind.
    std::unique_ptr<QProcess> Start(
        const QStringList& arguments, const QString& folder = {},
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        if (!folder.isEmpty())
            process->setWorkingDirectory(folder);
        process->start(QStringLiteral(MORVANE_PROGRAM), arguments);
        return process;
    }

private slots:
    void initTestCase() {
        // A session of our own: no socket of a real window is ever touched.
        QVERIFY(runtime.isValid());
        QVERIFY(chmod(QFile::encodeName(runtime.path()).constData(), 0700) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        socketPath = SessionSocket::PathForThisSession();
        QVERIFY(socketPath.startsWith(runtime.path() + "/morvane-"));
    }

    void cleanup() { QFile::remove(socketPath); }

    void aHandOverIsBytesThatArriveWholeOrNotAtAll() {
        using D = SessionSocket::Decoded;
        const Paths sent{"/a/caf\xe9 \xff", "/b\nc", "/"};
        const std::string bytes = SessionSocket::Encode(sent);
        Paths got;
        QCOMPARE(SessionSocket::Decode(bytes, &got), D::Complete);
        QCOMPARE(got, sent);
        // However the socket cuts it, a part is never taken for the whole.
        for (std::size_t n = 0; n < bytes.size(); ++n)
            QCOMPARE(SessionSocket::Decode(bytes.substr(0, n), &got), D::Incomplete);
        QCOMPARE(SessionSocket::Decode(SessionSocket::Encode({}), &got), D::Complete);
        QVERIFY(got.empty());
        QCOMPARE(SessionSocket::Decode(bytes + "x", &got), D::Invalid);
        QCOMPARE(SessionSocket::Decode("GET / HTTP/1.0\r\n", &got), D::Invalid);
        QCOMPARE(SessionSocket::Decode("MORVANE-PATHS 1 x\n", &got), D::Invalid);
        QCOMPARE(SessionSocket::Decode("MORVANE-PATHS 1 " + std::string(30, '9'), &got),
                 D::Invalid);
    }

    void helpVersionAndAWrongOptionNeedNoDisplay() {
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            bare.remove(QString::fromLatin1(name));
        bare.insert("LC_ALL", "C.UTF-8");

        auto help = Start({"--help"}, {}, bare);
        QVERIFY(help->waitForFinished(60000));
        QCOMPARE(help->exitStatus(), QProcess::NormalExit);
        QCOMPARE(help->exitCode(), 0);
        QVERIFY(QString::fromUtf8(help->readAllStandardOutput())
                    .startsWith("使い方: morvane [オプション]… [パス]…\n"));
        QCOMPARE(help->readAllStandardError(), QByteArray());

        bare.insert("LC_ALL", "en_US.UTF-8");
        auto english = Start({"-h"}, {}, bare);
        QVERIFY(english->waitForFinished(60000));
        QCOMPARE(english->exitCode(), 0);
        QVERIFY(
            english->readAllStandardOutput().startsWith("Usage: morvane [OPTION]... [PATH]..."));

        auto version = Start({"--version"}, {}, bare);
        QVERIFY(version->waitForFinished(60000));
        QCOMPARE(version->exitCode(), 0);
        QCOMPARE(version->readAllStandardOutput(), QByteArray("Morvane " MORVANE_VERSION "\n"));

        auto wrong = Start({"photo.jpg", "--bogus"}, {}, bare);
        QVERIFY(wrong->waitForFinished(60000));
        QCOMPARE(wrong->exitStatus(), QProcess::NormalExit);
        QCOMPARE(wrong->exitCode(), 2);
        QCOMPARE(wrong->readAllStandardOutput(), QByteArray());
        QCOMPARE(wrong->readAllStandardError(),
                 QByteArray("morvane: unknown option: --bogus\n"
                            "Try 'morvane --help' for more information.\n"));
    }

    void addHandsItsPathsToTheWindowOpenAndEnds() {
        SessionSocket window(socketPath);
        QVERIFY(window.Listen());
        test::TempDir dir;
        const std::string odd = dir.MakeFile("IMG_\xff\xfe.JPG");
        const std::string named = dir.MakeFile("named.txt");
        // find's output on the pipe, a relative name on the command line, from its folder.
        auto add = Start({"--add", "named.txt", "-0", "-"}, Qs(dir.path()));
        const std::string found = "./IMG_\xff\xfe.JPG" + std::string(1, '\0') + dir.path() +
                                  "/gone" + std::string(1, '\0');
        add->write(found.data(), static_cast<qint64>(found.size()));
        add->closeWriteChannel();
        // This process answers on the socket while it waits.
        QTRY_VERIFY_WITH_TIMEOUT(add->state() == QProcess::NotRunning, 120000);
        QCOMPARE(add->exitStatus(), QProcess::NormalExit);
        QCOMPARE(add->exitCode(), 0);
        // The window opens them, in the order given, and reports what names nothing itself.
        QCOMPARE(window.TakeReceived(), (std::vector<Paths>{{named, odd, dir.path() + "/gone"}}));
        QVERIFY(window.TakeReceived().empty());
    }

    void aSocketLeftByACrashIsReplaced() {
        QVERIFY(MakeStaleSocket(socketPath));
        QVERIFY(QFile::exists(socketPath));
        SessionSocket window(socketPath);
        QVERIFY(window.Listen());
        // A second window finds the first answering, and leaves the socket to it.
        SessionSocket second(socketPath);
        QVERIFY(!second.Listen());
        QVERIFY(window.Listening());

        test::TempDir dir;
        const std::string file = dir.MakeFile("a.txt");
        auto add = Start({"-a", Qs(file)});
        add->closeWriteChannel();
        // This process answers on the socket while it waits.
        QTRY_VERIFY_WITH_TIMEOUT(add->state() == QProcess::NotRunning, 120000);
        QCOMPARE(add->exitCode(), 0);
        QCOMPARE(window.TakeReceived(), (std::vector<Paths>{{file}}));
    }

    void withoutAddAndTheSettingOffASecondWindowOpens() {
        SessionSocket first(socketPath);
        QVERIFY(first.Listen());
        test::TempDir dir;
        StartupEnvironment env;
        env.programDir = dir.MakeFolder("program");
        env.tempDir = dir.MakeFolder("tmp") + "/";
        env.settingsPath = dir / "program/config.ini";  // none yet: the setting is off
        env.stateHome = dir.MakeFolder("state");
        const std::string file = dir.MakeFile("files/b.txt");

        test::ScriptedQtHost host;
        CMorvaneApp app(host, RealFileSystem());
        host.SetApp(&app);
        QCOMPARE(app.StartUp({file}, env), CMorvaneApp::StartResult::Running);
        QVERIFY(host.MainFrame() != nullptr && host.MainFrame()->isVisible());
        QCOMPARE(app.List().RowCount(), 1);
        // The first window keeps serving the session; this one does not listen.
        QVERIFY(host.HandOverSocket() == nullptr);
        QCoreApplication::processEvents();
        QVERIFY(first.TakeReceived().empty());
        app.ShutDown();
    }

    void theWindowTakesPathsOnlyWhileItIsOpen() {
        test::UiApp ui;
        SessionSocket* socket = ui.host.HandOverSocket();
        QVERIFY(socket != nullptr && socket->Listening());
        const std::string file = ui.dir.MakeFile("files/c.txt");
        auto add = Start({"--add", Qs(file)});
        add->closeWriteChannel();
        // This process answers on the socket while it waits.
        QTRY_VERIFY_WITH_TIMEOUT(add->state() == QProcess::NotRunning, 120000);
        QCOMPARE(add->exitCode(), 0);
        QCOMPARE(ui.host.TakeHandedPaths(), (std::vector<Paths>{{file}}));
        ui.app.ShutDown();
        ui.started = false;
        QVERIFY(ui.host.HandOverSocket() == nullptr);
        QVERIFY(!QFile::exists(socketPath));
    }

private:
    QTemporaryDir runtime;
    QString socketPath;
};

}  // namespace morvane

QTEST_MAIN(morvane::HandOverTest)
#include "HandOverTest.moc"
