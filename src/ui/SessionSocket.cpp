#include "ui/SessionSocket.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>
#include <string_view>

namespace morvane {
namespace {

// "MORVANE-PATHS 1 <count>\n", then each path followed by a NUL, which no path contains.
constexpr std::string_view kMagic = "MORVANE-PATHS 1 ";
constexpr std::string_view kConfirmation = "ok\n";
// Far beyond any selection; a connection that sends more is not one of ours.
constexpr std::size_t kMaxBytes = std::size_t{1} << 30;
// A window answers from its event loop, which a long operation keeps turning; the waits only
// keep a start from hanging on a window that stopped.
constexpr int kConnectMs = 2000;
constexpr int kReplyMs = 15000;

}  // namespace

SessionSocket::SessionSocket(QString path) : path_(std::move(path)) {
    connect(&server_, &QLocalServer::newConnection, this, &SessionSocket::Accept);
}

SessionSocket::~SessionSocket() = default;

QString SessionSocket::PathForThisSession() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("none");
    for (QChar& c : display) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'.')
            c = u'_';
    }
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/morvane-") + display + QStringLiteral(".socket");
}

std::string SessionSocket::Encode(const std::vector<std::string>& paths) {
    std::string bytes(kMagic);
    bytes += std::to_string(paths.size());
    bytes += '\n';
    for (const std::string& path : paths) {
        bytes += path;
        bytes += '\0';
    }
    return bytes;
}

SessionSocket::Decoded SessionSocket::Decode(const std::string& bytes,
                                             std::vector<std::string>* paths) {
    paths->clear();
    const std::size_t known = std::min(bytes.size(), kMagic.size());
    if (bytes.compare(0, known, kMagic.substr(0, known)) != 0 || bytes.size() > kMaxBytes)
        return Decoded::Invalid;
    const std::size_t lineEnd = bytes.find('\n', known);
    if (lineEnd == std::string::npos)
        return bytes.size() - known > 20 ? Decoded::Invalid : Decoded::Incomplete;
    std::size_t count = 0;
    for (std::size_t i = kMagic.size(); i < lineEnd; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9' || count > kMaxBytes)
            return Decoded::Invalid;
        count = count * 10 + static_cast<std::size_t>(bytes[i] - '0');
    }
    std::size_t at = lineEnd + 1;
    while (paths->size() < count) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string::npos)
            return Decoded::Incomplete;
        paths->emplace_back(bytes, at, end - at);
        at = end + 1;
    }
    return at == bytes.size() ? Decoded::Complete : Decoded::Invalid;
}

bool SessionSocket::HandOver(const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    const std::string bytes = Encode(paths);
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kReplyMs))
            return false;
    }
    QByteArray reply;
    while (reply.size() < static_cast<qsizetype>(kConfirmation.size())) {
        if (!socket.waitForReadyRead(kReplyMs))
            return false;
        reply += socket.readAll();
    }
    return reply.toStdString() == kConfirmation;
}

bool SessionSocket::Listen() {
    if (server_.isListening())
        return true;
    // Two starts at the same moment must not both find the socket stale and replace each
    // other's.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(kConnectMs))
        return false;
    QLocalSocket probe;
    probe.connectToServer(path_);
    if (probe.waitForConnected(kConnectMs)) {
        probe.abort();
        return false;  // another window serves this session
    }
    // No one answers: nothing is there, or the socket of a start that crashed.
    QLocalServer::removeServer(path_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(path_);
}

std::vector<std::vector<std::string>> SessionSocket::TakeReceived() {
    return std::exchange(received_, {});
}

void SessionSocket::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<std::string>();
        const auto read = [this, socket, buffer] {
            const QByteArray chunk = socket->readAll();
            buffer->append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
            std::vector<std::string> paths;
            switch (Decode(*buffer, &paths)) {
                case Decoded::Incomplete:
                    return;
                case Decoded::Invalid:
                    socket->abort();
                    return;
                case Decoded::Complete:
                    break;
            }
            // Confirmed once taken: the other start may end, and the main loop opens them.
            socket->write(kConfirmation.data(), static_cast<qint64>(kConfirmation.size()));
            socket->flush();
            socket->disconnectFromServer();
            buffer->clear();
            received_.push_back(std::move(paths));
            emit Received();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0)
            read();
    }
}

}  // namespace morvane
