#pragma once
// The local socket through which a later start of the program hands its paths to the window
// already open in this desktop session. It lives in the user's runtime folder, so only the
// same user reaches it. Paths cross as bytes, so names that are not UTF-8 arrive unchanged.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace morvane {

class SessionSocket final : public QObject {
    Q_OBJECT
public:
    // `path`: the socket's file; the lock that keeps two starts from replacing each other's
    // socket lies beside it.
    explicit SessionSocket(QString path);
    ~SessionSocket() override;

    // $XDG_RUNTIME_DIR/morvane-DISPLAY.socket: one window per desktop session serves.
    static QString PathForThisSession();

    // Client: hands the paths to the window listening; false when none listens or it did not
    // confirm them, and the caller opens a window of its own.
    bool HandOver(const std::vector<std::string>& paths);

    // Server: listens unless another window does; a socket left by a crashed start, which no
    // one answers, is replaced. False when this start does not listen.
    bool Listen();
    bool Listening() const { return server_.isListening(); }
    // The paths handed over since the last call, one list per hand-over.
    std::vector<std::vector<std::string>> TakeReceived();

    // The bytes of one hand-over, and back. Decode answers Incomplete until the last path.
    static std::string Encode(const std::vector<std::string>& paths);
    enum class Decoded { Complete, Incomplete, Invalid };
    static Decoded Decode(const std::string& bytes, std::vector<std::string>* paths);

signals:
    // Paths arrived; TakeReceived hands them out.
    void Received();

private:
    void Accept();

    QString path_;
    QLocalServer server_;
    std::vector<std::vector<std::string>> received_;
};

}  // namespace morvane
