// tesva-peer: one side of a game between two programs over TCP, played by a
// simple built-in player (the first card it may play), printing the public
// events, the pairing code and the end, one line each.
//
//   tesva-peer host PORT [HANDS] [NAME]   (PORT 0: any free port, printed)
//   tesva-peer join ADDRESS PORT [NAME]
//
// A host that no guest calls within TESVA_PEER_WAIT seconds (60 unless
// set) gives up with a message instead of waiting for ever.
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <iostream>

#include "engine/engine.h"
#include "platform/memory.h"
#include "tcp/tcp_transport.h"

using namespace tesva;
using namespace tesva::net;

namespace {

// Seconds a host waits for its guest.
int WaitLimit() {
  bool ok = false;
  int seconds = qEnvironmentVariableIntValue("TESVA_PEER_WAIT", &ok);
  return ok && seconds > 0 ? seconds : 60;
}

int Usage() {
  std::cerr << "usage: tesva-peer host PORT [HANDS] [NAME] | tesva-peer join ADDRESS PORT [NAME]\n";
  return 2;
}

void Run(TcpTransport& transport) {
  auto codeShown = std::make_shared<bool>(false);
  auto done = std::make_shared<bool>(false);
  QObject::connect(&transport, &TcpTransport::Changed, [&transport, codeShown, done] {
    auto& session = transport.session();
    auto& game = session.game();
    if (!*codeShown && session.link().Ready()) {
      std::cout << "code " << session.link().PairingCode() << std::endl;
      *codeShown = true;
    }
    for (const auto& event : game.TakeEvents()) std::cout << event << std::endl;
    // The built-in player: its first card that may be played.
    for (int slot = 1; slot <= 4 && game.OurMove(); ++slot) {
      if (game.game().Player1_Kart(slot).enabled) {
        QTimer::singleShot(0, &transport, [&transport, slot] { transport.Play(slot); });
        break;
      }
    }
    // The end: the game over (its pause ended here too) or failed.
    if (!*done && session.link().Ended() && (game.Over() || game.failure())) {
      *done = true;
      if (game.failure()) std::cout << "ended " << game.failure()->text << std::endl;
      int status = game.Over() ? 0 : 1;
      QTimer::singleShot(100, [status] { QCoreApplication::exit(status); });
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  auto args = app.arguments();
  if (args.size() < 3) return Usage();
  MemoryPlatform services(std::random_device{}());
  bool host = args[1] == "host";
  if (!host && (args[1] != "join" || args.size() < 4)) return Usage();
  QString name = args.size() > (host ? 4 : 4) ? args[host ? 4 : 4] : (host ? "Ev" : "Konuk");
  services.store.Write(kStoreApp, kStoreSection, kKeyLevel, "1");
  services.store.Write(kStoreApp, kStoreSection, kKeySounds, "0");
  services.store.Write(kStoreApp, kStoreSection, kKeyHumanName, name.toStdString());
  if (host && args.size() > 3)
    services.store.Write(kStoreApp, kStoreSection, kKeyHands, args[3].toStdString());

  std::unique_ptr<TcpTransport> transport;
  QTcpServer server;
  if (host) {
    bool ok = false;
    auto port = args[2].toUShort(&ok);
    if (!ok || !server.listen(QHostAddress::LocalHost, port)) {
      std::cerr << "tesva-peer: cannot listen on port " << args[2].toStdString() << "\n";
      return 1;
    }
    std::cout << "port " << server.serverPort() << std::endl;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
      auto* socket = server.nextPendingConnection();
      if (transport) {  // one friend at a time
        socket->abort();
        return;
      }
      server.close();
      transport = std::make_unique<TcpTransport>(socket, Role::kHost, services.services());
      Run(*transport);
    });
    const int limit = WaitLimit();
    QTimer::singleShot(limit * 1000, &server, [&transport, limit] {
      if (transport) return;
      std::cerr << "tesva-peer: no guest came in " << limit << " s\n";
      QCoreApplication::exit(1);
    });
  } else {
    bool ok = false;
    auto port = args[3].toUShort(&ok);
    if (!ok) return Usage();
    auto* socket = new QTcpSocket;
    socket->connectToHost(args[2], port);
    if (!socket->waitForConnected(10000)) {
      std::cerr << "tesva-peer: cannot connect: " << socket->errorString().toStdString() << "\n";
      return 1;
    }
    transport = std::make_unique<TcpTransport>(socket, Role::kGuest, services.services());
    Run(*transport);
  }
  return app.exec();
}
