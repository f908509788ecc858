#include "platform/PlayerFront.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace lodgeview {
namespace {
constexpr char kFrontRequest[] = "front\n";
}

QString PlayerFrontSocketName() { return QString("TfrmMorvikPlayer-%1").arg(::getuid()); }

bool RequestPlayerToFront(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(PlayerFrontSocketName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kFrontRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

PlayerFrontListener::PlayerFrontListener(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), onRequest_(std::move(onRequest))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("front"))
                    onRequest_();
            });
        }
    });
}

bool PlayerFrontListener::Listen()
{
    // A live player answers; listening first would silently take its socket over, since the
    // socket file is created aside and renamed into place. A file left by a player that died
    // is removed.
    if (RequestPlayerToFront(200))
        return false;
    const QString name = PlayerFrontSocketName();
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

} // namespace lodgeview
