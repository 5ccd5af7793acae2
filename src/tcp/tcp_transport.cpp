#include "tcp/tcp_transport.h"

namespace tesva::net {

TcpTransport::TcpTransport(QTcpSocket* socket, Role role, Platform services, QObject* parent)
    : QObject(parent) {
  clock_.start();
  session_ = std::make_unique<Session>(role, services, DefaultDealMaker(), Now());
  Attach(socket);
  linkTimer_.setInterval(250);
  connect(&linkTimer_, &QTimer::timeout, this, &TcpTransport::Tick);
  linkTimer_.start();
  // Timer2's interval: the pause at a hand's end as the game has it.
  pauseTimer_.setInterval(session_->game().game().Timer2.interval);
  connect(&pauseTimer_, &QTimer::timeout, this, [this] {
    session_->TickPause(Now());
    Flush();
  });
  pauseTimer_.start();
  Flush();
}

void TcpTransport::Attach(QTcpSocket* socket) {
  socket_ = socket;
  socket_->setParent(this);
  socket_->setReadBufferSize(4 * (kFrameLimit + kFrameHeader));
  connect(socket_, &QTcpSocket::readyRead, this, &TcpTransport::ReadSome);
  connect(socket_, &QTcpSocket::disconnected, this, [this] {
    session_->ConnectionClosed(Now());
    Flush();
  });
}

void TcpTransport::Rebind(QTcpSocket* socket) {
  socket_->disconnect(this);
  socket_->abort();
  socket_->deleteLater();
  Attach(socket);
  session_->Relink(Now());
  ended_ = false;
  linkTimer_.start();
  Flush();
}

void TcpTransport::ReadSome() {
  // At most one frame's worth a read: a peer cannot make this side keep more.
  while (socket_->bytesAvailable() > 0 && !session_->link().Ended()) {
    auto bytes = socket_->read(kFrameLimit);
    session_->Receive(
        ByteView(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()), Now());
  }
  Flush();
}

void TcpTransport::Tick() {
  session_->Tick(Now());
  Flush();
}

bool TcpTransport::Play(int slot) {
  bool played = session_->Play(slot, Now());
  Flush();
  return played;
}

bool TcpTransport::OfferNewGame() {
  bool offered = session_->OfferNewGame(Now());
  Flush();
  return offered;
}

void TcpTransport::AnswerOffer(bool yes) {
  session_->AnswerOffer(yes, Now());
  Flush();
}

void TcpTransport::Leave() {
  if (!session_->link().Ended()) session_->link().Close(MakeFailure(Fault::kLeft));
  Flush();
  socket_->flush();
}

void TcpTransport::Flush() {
  // A finished game says goodbye.
  if (!keepAfterGame_ && session_->game().Over() && !session_->link().Ended()) {
    session_->link().Close(MakeFailure(Fault::kLeft));
  }
  auto out = session_->TakeOutgoing();
  if (!out.empty() && socket_->state() == QAbstractSocket::ConnectedState) {
    socket_->write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size()));
  }
  emit Changed();
  if (session_->link().Ended() && !ended_) {
    ended_ = true;
    linkTimer_.stop();
    socket_->disconnectFromHost();  // after what is written has gone
    emit Ended();
  }
}

}  // namespace tesva::net
