#include "window/friend/friend_game.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpSocket>

#include "engine/engine.h"
#include "net/announce.h"
#include "net/friend_table.h"
#include "peer/tcp_transport.h"
#include "window/friend/friend_dialogs.h"

using tesva::net::Fault;
using tesva::net::Role;

namespace {

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

FriendGame::FriendGame(tesva::Platform services, QWidget* window)
    : QObject(window),
      services_(services),
      window_(window),
      announcePort_(tesva::net::kAnnouncePort) {
  callTimer_.setInterval(kCallInterval);
  connect(&callTimer_, &QTimer::timeout, this, &FriendGame::CallAgain);
  giveUpTimer_.setSingleShot(true);
  giveUpTimer_.setInterval(kRejoinLimit);
  connect(&giveUpTimer_, &QTimer::timeout, this, [this] {
    Finish(QStringLiteral("İki dakika içinde yeniden bağlanılamadı; oyun bırakıldı."));
  });
  handshakeTimer_.setSingleShot(true);
  connect(&handshakeTimer_, &QTimer::timeout, this, [this] {
    if (stage_ != Stage::kHandshake || !transport_) return;
    transport_->disconnect(this);
    transport_->Leave();
    EndHandshake(
        QStringLiteral("Karşı taraf %1 saniye içinde yanıt vermedi.").arg(kHandshakeLimit / 1000));
  });
  connect(&rejoinServer_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = rejoinServer_.nextPendingConnection()) TakeRejoin(socket);
  });
}

// A window closed during a friend game says goodbye, so that the friend's
// table is not left waiting for a connection that will not come back.
FriendGame::~FriendGame() {
  if (!transport_) return;
  transport_->disconnect(this);
  transport_->Leave();
}

void FriendGame::AdoptMenu(QAction* host, QAction* join, QAction* leave) {
  hostAction_ = host;
  joinAction_ = join;
  leave_ = leave;
  SyncMenu();
}

void FriendGame::SyncMenu() {
  if (!leave_) return;
  bool idle = stage_ == Stage::kNone;
  hostAction_->setEnabled(idle);
  joinAction_->setEnabled(idle);
  leave_->setEnabled(!idle);
}

HostDialog* FriendGame::Host() {
  if (!host_) {
    std::string name = tesva::CutToCharacters(
        services_.store.Read(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyHumanName),
        tesva::kMaxNameLength);
    host_ = new HostDialog(services_.store, ToQt(name), window_);
    host_->SetAnnouncement(announcePort_, broadcast_);
    connect(host_, &HostDialog::connected, this,
            [this](QTcpSocket* socket) { Take(socket, Role::kHost); });
  }
  return host_;
}

JoinDialog* FriendGame::Join() {
  if (!join_) {
    join_ = new JoinDialog(services_.store, window_);
    join_->ListenForGames(announcePort_);
    connect(join_, &JoinDialog::connected, this,
            [this](QTcpSocket* socket) { Take(socket, Role::kGuest); });
  }
  return join_;
}

void FriendGame::OpenHost() {
  if (stage_ != Stage::kNone) return;
  HostDialog* dialog = Host();
  dialog->show();
  dialog->raise();
  if (!dialog->Listening()) dialog->ListenFromField();
}

void FriendGame::OpenJoin() {
  if (stage_ != Stage::kNone) return;
  Join()->show();
  join_->raise();
}

void FriendGame::SetAnnouncement(quint16 port, bool broadcast) {
  announcePort_ = port;
  broadcast_ = broadcast;
  if (host_) host_->SetAnnouncement(port, broadcast);
  if (join_) join_->ListenForGames(port);
}

void FriendGame::Take(QTcpSocket* socket, Role role) {
  if (stage_ != Stage::kNone) {  // one friend at a time
    socket->abort();
    socket->deleteLater();
    return;
  }
  stage_ = Stage::kHandshake;
  lastMessage_.clear();
  role_ = role;
  peer_ = socket->peerAddress();
  port_ = role == Role::kHost ? socket->localPort() : socket->peerPort();
  transport_ = new tesva::net::TcpTransport(socket, role, services_, this);
  transport_->session().SetResumable(true);
  // The link outlives a finished game, so that a new one can be offered.
  transport_->KeepLinkAfterGame(true);
  if (silenceLimit_ > 0) transport_->session().SetSilenceLimit(tesva::net::Millis{silenceLimit_});
  shownGame_ = 1;
  // The guest's ten seconds run from its call; the host's from the call's
  // arrival.
  int limit = handshakeLimit_;
  if (role == Role::kGuest && join_) limit = std::min(limit, join_->TimeLeft());
  handshakeTimer_.start(std::max(limit, 1));
  connect(transport_, &tesva::net::TcpTransport::Changed, this, &FriendGame::OnChanged);
  connect(transport_, &tesva::net::TcpTransport::Ended, this, &FriendGame::OnEnded);
  SyncMenu();
}

tesva::Game& FriendGame::Table() {
  return transport_->session().game().game();
}

QString FriendGame::PairingCode() const {
  return transport_ ? ToQt(transport_->session().link().PairingCode()) : QString();
}

void FriendGame::MirrorInto(tesva::Game& shown) {
  const tesva::Game& table = Table();
  static_cast<tesva::GameState&>(shown) = table;
  static_cast<tesva::Form&>(shown) = table;
  shown.Timer2Ticks = table.Timer2Ticks;
  shown.Seen = table.Seen;
  tesva::net::CloseComputerCommands(shown);
  shown.mnuYeni.enabled = NewGameOpen();
  if (stage_ == Stage::kLost) {
    shown.Label1.caption = std::string(tesva::net::kConnectionLostStatus);
  }
  // A card is offered only when the game takes it: the move that empties
  // both hands waits for the next deal with its card still in the hand.
  if (stage_ != Stage::kPlaying || !transport_->session().game().OurMove()) {
    for (auto& card : shown.Player1_Kart) card.enabled = false;
  }
}

bool FriendGame::Play(int slot) {
  if (stage_ != Stage::kPlaying || !transport_) return false;
  return transport_->Play(slot);
}

void FriendGame::OnChanged() {
  if (!transport_) return;
  auto& session = transport_->session();
  // The public events are the headless peer's; the window shows the table.
  session.game().TakeEvents();
  if (stage_ == Stage::kHandshake && session.link().Ready()) {
    handshakeTimer_.stop();
    stage_ = Stage::kPlaying;
    if (host_) host_->hide();
    if (join_) join_->hide();
    if (!pairing_) {
      pairing_ = new PairingDialog(window_);
      connect(pairing_, &PairingDialog::refused, this, &FriendGame::Leave);
    }
    pairing_->ShowCode(PairingCode());
    SyncMenu();
    emit started();
    return;
  }
  if (stage_ == Stage::kLost && !session.Waiting() && session.link().Ready()) {
    // The friend is back and proven: the game goes on where it stood.
    stage_ = Stage::kPlaying;
    StopRejoining();
    SyncMenu();
  }
  FollowOffers();
  if (stage_ == Stage::kPlaying && session.game().Over()) stage_ = Stage::kEnded;
  if (Running()) emit changed();
}

void FriendGame::OnEnded() {
  if (!transport_) return;
  CloseOfferBoxes();
  auto& session = transport_->session();
  const auto& ending = session.link().ending();
  QString why = ending ? ToQt(ending->text) : QString();
  if (const auto& failure = session.game().failure()) why = ToQt(failure->text);
  lastMessage_ = why;
  if (stage_ == Stage::kHandshake) return EndHandshake(why);
  if (stage_ == Stage::kLost && session.Waiting()) {
    // A new connection that did not come to a resumed game: wait on.
    if (role_ == Role::kHost && !rejoinServer_.isListening()) {
      rejoinServer_.listen(QHostAddress::Any, port_);
    }
    return;
  }
  if (stage_ == Stage::kEnded) {
    // Gone after the game's end: the last table stays, and "Yeni Oyun"
    // now goes back to the computer.
    if (ending && ending->fault == Fault::kLeft) Tell("FriendMessage", why);
    SyncMenu();
    emit changed();
    return;
  }
  if (stage_ != Stage::kPlaying && stage_ != Stage::kLost) return;
  Fault fault = ending ? ending->fault : Fault::kLost;
  if (session.Waiting()) {
    stage_ = Stage::kLost;
    StartRejoining();
  } else if (session.game().Over() || !session.game().failure()) {
    // Finished, or finishing: the other side has seen the last hand end and
    // left; this side's own pause ends the game. The result stays.
    stage_ = Stage::kEnded;
  } else if (fault == Fault::kLeft) {
    return Finish(why);  // left mid-game: the table goes, the reason is told
  } else {
    stage_ = Stage::kEnded;  // a misbehaving peer: its fault on the status line
  }
  SyncMenu();
  emit changed();
}

void FriendGame::EndHandshake(const QString& why) {
  // Never a game: the dialog that made the connection says why and waits on.
  handshakeTimer_.stop();
  stage_ = Stage::kNone;
  bool hosted = transport_->session().link().role() == Role::kHost;
  transport_->deleteLater();
  transport_ = nullptr;
  if (hosted && host_) host_->ShowLinkFailure(why);
  if (!hosted && join_) join_->ShowLinkFailure(why);
  SyncMenu();
}

void FriendGame::Leave() {
  if (stage_ == Stage::kNone) return;
  if (transport_) {
    transport_->disconnect(this);
    transport_->Leave();
  }
  Finish(QString());
}

bool FriendGame::NewGameOpen() {
  if (!transport_) return false;
  auto& session = transport_->session();
  bool friendGone = stage_ == Stage::kEnded && session.link().Ended();
  return session.CanOffer() || friendGone;
}

void FriendGame::OfferNewGame() {
  if (!transport_) return;
  if (!transport_->session().CanOffer()) {
    // Nobody is left to offer it to: back to the computer.
    if (stage_ == Stage::kEnded && transport_->session().link().Ended()) Leave();
    return;
  }
  transport_->OfferNewGame();
  offerSent_ = Tell("FriendOfferSent", QStringLiteral("Yeni oyun öneriniz %1 adlı oyuncuya "
                                                      "gönderildi; yanıtı bekleniyor.")
                                           .arg(FriendName()));
}

const tesva::Game* FriendGame::PreviousTable() {
  if (!transport_) return nullptr;
  const tesva::net::NetGame* previous = transport_->session().PreviousGame();
  return previous ? &previous->game() : nullptr;
}

void FriendGame::FollowOffers() {
  auto& session = transport_->session();
  if (session.GameNumber() != shownGame_) {
    // Both said yes: the new game is the table now.
    shownGame_ = session.GameNumber();
    stage_ = Stage::kPlaying;
    CloseOfferBoxes();
    SyncMenu();
    emit renewed();
  }
  if (auto answer = session.TakeAnswer(); answer && !*answer) {
    if (offerSent_) offerSent_->close();
    Tell("FriendOfferRefused",
         QStringLiteral("%1 yeni oyunu istemedi; bu oyun sürüyor.").arg(FriendName()));
  }
  using Offer = tesva::net::Session::Offer;
  if (session.offer() == Offer::kCame && !offerCame_) AskAboutOffer();
  if (session.offer() != Offer::kCame && offerCame_) offerCame_->close();
  if (session.offer() != Offer::kSent && offerSent_) offerSent_->close();
}

void FriendGame::AskAboutOffer() {
  QString text = transport_->session().game().Over()
                     ? QStringLiteral("%1 yeni bir oyun öneriyor.")
                     : QStringLiteral(
                           "%1 yeni bir oyun öneriyor. Kabul ederseniz bu oyun "
                           "bırakılır ve yenisi başlar.");
  auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Arkadaşla Oyna"),
                              text.arg(FriendName()), QMessageBox::NoButton, window_);
  box->setObjectName(QStringLiteral("FriendOfferCame"));
  QPushButton* yes = box->addButton(QStringLiteral("Kabul Et"), QMessageBox::AcceptRole);
  yes->setObjectName(QStringLiteral("accept"));
  box->addButton(QStringLiteral("Reddet"), QMessageBox::RejectRole)
      ->setObjectName(QStringLiteral("refuse"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  // Closed unanswered (the offer withdrawn with the link) is a no, which
  // the session then ignores.
  connect(box, &QMessageBox::finished, this, [this, box, yes] {
    if (transport_) transport_->AnswerOffer(box->clickedButton() == yes);
  });
  offerCame_ = box;
  box->open();
}

void FriendGame::CloseOfferBoxes() {
  if (offerSent_) offerSent_->close();
  if (offerCame_) offerCame_->close();
}

QMessageBox* FriendGame::Tell(const char* name, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Arkadaşla Oyna"), text,
                              QMessageBox::Ok, window_);
  box->setObjectName(QString::fromLatin1(name));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

QString FriendGame::FriendName() {
  return ToQt(
      Table().io.store.Read(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyComputerName));
}

void FriendGame::StartRejoining() {
  giveUpTimer_.start();
  if (role_ == Role::kHost) {
    rejoinServer_.listen(QHostAddress::Any, port_);
  } else {
    callTimer_.start();
  }
}

void FriendGame::StopRejoining() {
  giveUpTimer_.stop();
  callTimer_.stop();
  rejoinServer_.close();
  if (calling_) {
    calling_->abort();
    calling_->deleteLater();
  }
}

void FriendGame::CallAgain() {
  // One call at a time, and none while a new link is being made.
  if (calling_ || !transport_ || !transport_->session().link().Ended()) return;
  calling_ = new QTcpSocket(this);
  connect(calling_, &QTcpSocket::connected, this, [this] {
    QTcpSocket* socket = calling_;
    calling_ = nullptr;
    socket->disconnect(this);
    TakeRejoin(socket);
  });
  connect(calling_, &QTcpSocket::errorOccurred, this, [this] {
    if (!calling_) return;
    calling_->deleteLater();
    calling_ = nullptr;
  });
  calling_->connectToHost(peer_, port_);
}

void FriendGame::TakeRejoin(QTcpSocket* socket) {
  if (stage_ != Stage::kLost || !transport_ || !transport_->session().Waiting()) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  // The host hears one caller at a time; if it fails, it listens again.
  rejoinServer_.close();
  transport_->Rebind(socket);
}

void FriendGame::Finish(const QString& message) {
  StopRejoining();
  CloseOfferBoxes();
  if (transport_) {
    transport_->disconnect(this);
    transport_->deleteLater();
  }
  if (pairing_) pairing_->hide();
  bool wasRunning = Running();
  stage_ = Stage::kNone;
  SyncMenu();
  if (!message.isEmpty()) {
    lastMessage_ = message;
    Tell("FriendMessage", message);
  }
  // The window reads the table until it has restored its own game.
  if (wasRunning) emit finished();
  transport_ = nullptr;
}

FriendSide* MakeFriendSide(tesva::Platform services, QWidget* window,
                           FriendSide::Listener listener) {
  auto* side = new FriendGame(services, window);
  QObject::connect(side, &FriendGame::started, side, listener.started);
  QObject::connect(side, &FriendGame::changed, side, listener.changed);
  QObject::connect(side, &FriendGame::finished, side, listener.finished);
  QObject::connect(side, &FriendGame::renewed, side, listener.renewed);
  return side;
}
