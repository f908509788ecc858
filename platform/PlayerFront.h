#pragma once
// The running player listens on a per-user local socket named after its main form; another
// program (the deployment step) connects to ask it to come to the front instead of starting a
// second player.
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace lodgeview {

QString PlayerFrontSocketName();

// True when a player was listening and took the request.
bool RequestPlayerToFront(int timeoutMs = 1000);

// The player's side: calls onRequest on the user-interface thread for every request.
class PlayerFrontListener : public QObject {
    Q_OBJECT
public:
    explicit PlayerFrontListener(std::function<void()> onRequest, QObject* parent = nullptr);
    // False when the socket cannot be made (for example a live player already holds it).
    bool Listen();

private:
    QLocalServer* server_;
    std::function<void()> onRequest_;
};

} // namespace lodgeview
