#include "window/friend/friend_dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QPushButton>
#include <QTcpSocket>
#include <QVBoxLayout>

#include "friend_texts/friend_texts.h"
#include "net/address_reach.h"
#include "net/announce.h"
#include "net/friend_port.h"
#include "window/platform/core_text.h"

namespace {

namespace texts = tesva::friend_texts;

constexpr int kAnnounceInterval = 1000;  // ms
constexpr qint64 kForgetAfter = 5000;    // ms without an announcement

std::optional<quint16> PortOf(const QLineEdit* field) {
  return tesva::net::ParsePort(field->text().trimmed().toStdString());
}

QString AddressText(QHostAddress address) {
  // An IPv4 sender seen through an IPv6 socket reads as plain IPv4.
  bool isV4 = false;
  quint32 v4 = address.toIPv4Address(&isV4);
  if (isV4) address = QHostAddress(v4);
  address.setScopeId(QString());
  return address.toString();
}

QPushButton* Button(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  return button;
}

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

FriendDialog::FriendDialog(tesva::OptionsStore& store, const QString& start, const char* startName,
                           const char* listName, QWidget* parent)
    : QDialog(parent),
      store_(store),
      port_(Named(new QLineEdit(QString::number(tesva::net::ReadFriendPort(store)), this), "port")),
      start_(Named(Button(start, this), startName)),
      cancel_(Named(Button(ToQt(texts::kCancel), this), "cancel")),
      message_(Named(new QLabel(this), "message")),
      list_(Named(new QListWidget(this), listName)) {
  message_->setWordWrap(true);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QString FriendDialog::Message() const {
  return message_->text();
}

// --- Hosting -----------------------------------------------------------------

HostDialog::HostDialog(tesva::OptionsStore& store, QString name, QWidget* parent)
    : FriendDialog(store, ToQt(texts::kListen), "listen", "addresses", parent),
      name_(std::move(name)),
      announcePort_(tesva::net::kAnnouncePort) {
  setObjectName(QStringLiteral("HostDialog"));
  setWindowTitle(ToQt(texts::kHostTitle));
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(new QLabel(ToQt(texts::kPortLabel), this));
  portRow->addWidget(port_);
  portRow->addWidget(start_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(portRow);
  layout->addWidget(new QLabel(ToQt(texts::kTellAddresses), this));
  layout->addWidget(list_);
  // Whether a friend on the internet can call: judged from the addresses.
  reach_ = new QLabel(this);
  reach_->setObjectName(QStringLiteral("reach"));
  reach_->setWordWrap(true);
  layout->addWidget(reach_);
  layout->addWidget(message_);
  layout->addWidget(cancel_, 0, Qt::AlignRight);

  connect(start_, &QPushButton::clicked, this, &HostDialog::ListenFromField);
  connect(port_, &QLineEdit::returnPressed, this, &HostDialog::ListenFromField);
  connect(this, &QDialog::rejected, this, &HostDialog::Stop);
  connect(&server_, &QTcpServer::newConnection, this, &HostDialog::TakeConnection);
  announceTimer_.setInterval(kAnnounceInterval);
  connect(&announceTimer_, &QTimer::timeout, this, &HostDialog::Announce);
  ListAddresses();
}

void HostDialog::SetAnnouncement(quint16 port, bool broadcast) {
  announcePort_ = port;
  broadcast_ = broadcast;
}

void HostDialog::ListenFromField() {
  auto port = PortOf(port_);
  if (!port) {
    message_->setText(ToQt(texts::kBadPort));
    port_->setFocus();
    return;
  }
  if (ListenOn(*port)) tesva::net::WriteFriendPort(store_, *port);
}

bool HostDialog::ListenOn(quint16 port) {
  server_.close();
  // Any: both IPv4 and IPv6 where the machine has them.
  if (!server_.listen(QHostAddress::Any, port)) {
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
      message_->setText(ToQt(texts::PortInUse(port)));
    } else {
      message_->setText(ToQt(texts::PortNotListened(port, server_.errorString().toStdString())));
    }
    port_->setFocus();
    port_->selectAll();
    return false;
  }
  lastPort_ = server_.serverPort();
  port_->setText(QString::number(lastPort_));
  ListAddresses();
  message_->setText(ToQt(texts::Listening(lastPort_)));
  Announce();
  announceTimer_.start();
  return true;
}

void HostDialog::TakeConnection() {
  QTcpSocket* socket = server_.nextPendingConnection();
  if (!socket) return;
  // One friend at a time: the game takes this one and nobody else is heard.
  server_.close();
  announceTimer_.stop();
  while (QTcpSocket* other = server_.nextPendingConnection()) other->abort();
  message_->setText(ToQt(texts::kHandshaking));
  emit connected(socket);
}

void HostDialog::ShowLinkFailure(const QString& text) {
  if (isHidden()) return;
  if (lastPort_ != 0 && ListenOn(lastPort_)) {
    message_->setText(ToQt(texts::WaitingAgain(text.toStdString())));
  } else {
    message_->setText(text + QStringLiteral(" ") + message_->text());
  }
}

void HostDialog::Announce() {
  if (!server_.isListening()) return;
  tesva::net::Bytes datagram =
      tesva::net::MakeAnnouncement({server_.serverPort(), name_.toStdString()});
  QByteArray bytes(reinterpret_cast<const char*>(datagram.data()),
                   static_cast<qsizetype>(datagram.size()));
  // To this machine always, so that a second program here finds the game.
  announcer_.writeDatagram(bytes, QHostAddress::LocalHost, announcePort_);
  if (broadcast_) announcer_.writeDatagram(bytes, QHostAddress::Broadcast, announcePort_);
}

void HostDialog::Stop() {
  server_.close();
  announceTimer_.stop();
  message_->clear();
}

void HostDialog::ListAddresses() {
  list_->clear();
  std::vector<tesva::net::Reach> reaches;
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.isLoopback() || address.isLinkLocal()) continue;
    QString text = AddressText(address);
    auto reach = tesva::net::ReachOf(text.toStdString());
    reaches.push_back(reach);
    list_->addItem(ToQt(texts::AddressLine(text.toStdString(), tesva::net::ReachLabel(reach))));
  }
  list_->addItem(ToQt(texts::kLoopbackLine));
  reach_->setText(QString::fromStdString(
      tesva::net::ReachHint(reaches, lastPort_ ? lastPort_ : tesva::net::ReadFriendPort(store_))));
}

// --- Joining -----------------------------------------------------------------

JoinDialog::JoinDialog(tesva::OptionsStore& store, QWidget* parent)
    : FriendDialog(store, ToQt(texts::kConnect), "connect", "found", parent) {
  setObjectName(QStringLiteral("JoinDialog"));
  setWindowTitle(ToQt(texts::kJoinTitle));
  host_ = new QLineEdit(this);
  host_->setObjectName(QStringLiteral("host"));

  auto* form = new QFormLayout;
  form->addRow(ToQt(texts::kAddressLabel), host_);
  form->addRow(ToQt(texts::kPortLabel), port_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQt(texts::kGamesNearby), this));
  layout->addWidget(list_);
  layout->addLayout(form);
  layout->addWidget(message_);
  layout->addLayout(buttons);

  connect(start_, &QPushButton::clicked, this, &JoinDialog::ConnectFromFields);
  connect(this, &QDialog::rejected, this, &JoinDialog::StopConnecting);
  connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    host_->setText(item->data(Qt::UserRole).toString());
    port_->setText(QString::number(item->data(Qt::UserRole + 1).toUInt()));
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, &JoinDialog::ConnectFromFields);
  connect(&listener_, &QUdpSocket::readyRead, this, &JoinDialog::ReadAnnouncements);
  forgetTimer_.setInterval(1000);
  connect(&forgetTimer_, &QTimer::timeout, this, &JoinDialog::Forget);
  timeout_.setSingleShot(true);
  timeout_.setInterval(kConnectTimeout);
  connect(&timeout_, &QTimer::timeout, this,
          [this] { ConnectFailed(ToQt(texts::NoAnswerWithin(kConnectTimeout / 1000))); });
  clock_.start();
}

bool JoinDialog::ListenForGames(quint16 port) {
  listener_.close();
  // Several programs on one machine may all listen for the announcement.
  bool bound = listener_.bind(QHostAddress::AnyIPv4, port,
                              QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
  if (bound) forgetTimer_.start();
  return bound;
}

void JoinDialog::ConnectFromFields() {
  QString host = host_->text().trimmed();
  auto port = PortOf(port_);
  if (host.isEmpty()) {
    message_->setText(ToQt(texts::kNoAddress));
    return;
  }
  if (!port) {
    message_->setText(ToQt(texts::kBadPort));
    return;
  }
  tesva::net::WriteFriendPort(store_, *port);
  ConnectTo(host, *port);
}

void JoinDialog::ConnectTo(const QString& host, quint16 port) {
  if (socket_) {
    // The attempt before this one is dropped whole: nothing it says later
    // may count for the new one.
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
  }
  socket_ = new QTcpSocket(this);
  start_->setEnabled(false);
  message_->setText(ToQt(texts::ConnectingTo(host.toStdString(), port)));
  connect(socket_, &QTcpSocket::connected, this, [this] {
    timeLeft_ = timeout_.remainingTime();
    timeout_.stop();
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    start_->setEnabled(true);
    message_->setText(ToQt(texts::kHandshaking));
    emit connected(socket);
  });
  connect(socket_, &QTcpSocket::errorOccurred, this,
          [this] { ConnectFailed(socket_ ? socket_->errorString() : QString()); });
  timeout_.start();
  socket_->connectToHost(host, port);
}

void JoinDialog::StopConnecting() {
  timeout_.stop();
  if (socket_) {
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
  }
  start_->setEnabled(true);
}

void JoinDialog::ConnectFailed(const QString& text) {
  StopConnecting();
  message_->setText(ToQt(texts::ConnectFailed(text.toStdString())));
}

void JoinDialog::ShowLinkFailure(const QString& text) {
  message_->setText(text);
}

void JoinDialog::ReadAnnouncements() {
  while (listener_.hasPendingDatagrams()) {
    // One byte more than an announcement can be: a longer datagram is cut
    // there and refused as too long.
    QNetworkDatagram datagram = listener_.receiveDatagram(tesva::net::kMaxAnnounce + 1);
    QByteArray data = datagram.data();
    tesva::net::AnnounceRead read =
        tesva::net::ReadAnnouncement({reinterpret_cast<const std::uint8_t*>(data.constData()),
                                      static_cast<std::size_t>(data.size())});
    if (!read.announcement) continue;  // not for us: nothing to tell the player
    QString address = AddressText(datagram.senderAddress());
    quint16 port = read.announcement->port;
    QString text = ToQt(texts::FoundGame(read.announcement->name, address.toStdString(), port));
    QListWidgetItem* item = nullptr;
    for (int i = 0; i < list_->count() && !item; ++i) {
      QListWidgetItem* at = list_->item(i);
      if (at->data(Qt::UserRole).toString() == address &&
          at->data(Qt::UserRole + 1).toUInt() == port)
        item = at;
    }
    if (!item) {
      if (list_->count() >= kMaxFound) continue;
      item = new QListWidgetItem(list_);
      item->setData(Qt::UserRole, address);
      item->setData(Qt::UserRole + 1, port);
    }
    item->setText(text);
    item->setData(Qt::UserRole + 2, clock_.elapsed());
  }
}

void JoinDialog::Forget() {
  for (int i = list_->count() - 1; i >= 0; --i) {
    if (clock_.elapsed() - list_->item(i)->data(Qt::UserRole + 2).toLongLong() > kForgetAfter)
      delete list_->takeItem(i);
  }
}

// --- The pairing code --------------------------------------------------------

PairingDialog::PairingDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PairingDialog"));
  setWindowTitle(ToQt(texts::kPairingTitle));
  code_ = new QLabel(this);
  code_->setObjectName(QStringLiteral("code"));
  QFont big = code_->font();
  big.setPointSizeF(big.pointSizeF() * 2.5);
  big.setBold(true);
  code_->setFont(big);
  code_->setAlignment(Qt::AlignCenter);
  code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sentence_ = new QLabel(this);
  sentence_->setObjectName(QStringLiteral("sentence"));
  sentence_->setWordWrap(true);
  auto* same = Button(ToQt(texts::kCodesSame), this);
  same->setObjectName(QStringLiteral("same"));
  auto* refuse = Button(ToQt(texts::kRefuse), this);
  refuse->setObjectName(QStringLiteral("refuse"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(same);
  buttons->addWidget(refuse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(code_);
  layout->addWidget(sentence_);
  layout->addLayout(buttons);
  connect(same, &QPushButton::clicked, this, &QDialog::accept);
  connect(refuse, &QPushButton::clicked, this, [this] {
    hide();
    emit refused();
  });
}

void PairingDialog::ShowCode(const QString& code) {
  code_->setText(code);
  sentence_->setText(ToQt(texts::kCompareCodes));
  show();
  raise();
}

QString PairingDialog::Code() const {
  return code_->text();
}
