// The thin layer between a TCP socket and a Session: bytes in, bytes out,
// the link's clock and the end-of-hand pause on Qt timers. Everything the
// other side sends passes the Session's frame reader and state machine
// before anything else sees it. The window uses the same class.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "session/session.h"

namespace tesva::net {

class TcpTransport : public QObject {
  Q_OBJECT
 public:
  // Takes the connected socket; the session is made for `role`. The socket
  // keeps at most a few frames unread, so a flooding peer fills its own
  // buffers, not this side's memory.
  TcpTransport(QTcpSocket* socket, Role role, Platform services, QObject* parent = nullptr);
  Session& session() { return *session_; }
  Millis Now() const { return Millis{clock_.elapsed()}; }
  // Plays the local player's card and sends it.
  bool Play(int slot);
  // The local player leaves: a goodbye is written, then the link ends.
  void Leave();
  // A new connection for the paused session (Session::Relink); the old
  // socket goes.
  void Rebind(QTcpSocket* socket);
  // A finished game says goodbye, unless the link is kept for a new game
  // (the window's, which may offer one).
  void KeepLinkAfterGame(bool keep) { keepAfterGame_ = keep; }
  // Session::OfferNewGame and Session::AnswerOffer, sent at once.
  bool OfferNewGame();
  void AnswerOffer(bool yes);

 signals:
  // Something changed: new events, the pairing code, the end.
  void Changed();
  void Ended();

 private:
  void Attach(QTcpSocket* socket);
  void ReadSome();
  void Flush();
  void Tick();

  QTcpSocket* socket_ = nullptr;
  QElapsedTimer clock_;
  std::unique_ptr<Session> session_;
  QTimer linkTimer_;
  QTimer pauseTimer_;
  bool ended_ = false;
  bool keepAfterGame_ = false;
};

}  // namespace tesva::net
