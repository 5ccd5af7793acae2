// The two dialogs of a game with a friend: the host's (kHostItem) listens
// for the friend on a TCP port and tells the local network about it; the
// guest's (kJoinItem) connects to a host by its address, or to one of the games the
// local network announces. Both are non-modal: the table behind them keeps
// answering while they wait. Each hands the connected socket on and goes
// back to waiting if the connection fails before the game starts.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>

#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTcpSocket;

// What both dialogs have: the port field (the stored port to begin with),
// the button that starts, the cancel button, the message line and a list.
class FriendDialog : public QDialog {
  Q_OBJECT

 public:
  QString Message() const;

 signals:
  // A friend connected; the socket is the receiver's.
  void connected(QTcpSocket* socket);

 protected:
  FriendDialog(tesva::OptionsStore& store, const QString& start, const char* startName,
               const char* listName, QWidget* parent);

  tesva::OptionsStore& store_;
  QLineEdit* port_;
  QPushButton* start_;
  QPushButton* cancel_;
  QLabel* message_;
  QListWidget* list_;
};

class HostDialog : public FriendDialog {
  Q_OBJECT

 public:
  // `name` is the host player's, sent in the announcement.
  HostDialog(tesva::OptionsStore& store, QString name, QWidget* parent);

  // Where the announcement goes: to this machine on `port` always, and to
  // the local network's broadcast address when `broadcast`.
  void SetAnnouncement(quint16 port, bool broadcast);
  // Listens on `port` (0: any free one) on IPv4 and IPv6; false, with the
  // message shown, when it cannot.
  bool ListenOn(quint16 port);
  // Listens on the port in the dialog's field, and keeps it as the
  // player's choice when it can.
  void ListenFromField();
  quint16 ListeningPort() const { return server_.serverPort(); }
  bool Listening() const { return server_.isListening(); }
  QListWidget* Addresses() const { return list_; }

 public slots:
  // The connection handed on failed before the game: say why, listen again.
  void ShowLinkFailure(const QString& text);

 private:
  void TakeConnection();
  void Announce();
  void Stop();
  void ListAddresses();

  QString name_;
  QTcpServer server_;
  QUdpSocket announcer_;
  QTimer announceTimer_;
  quint16 announcePort_;
  bool broadcast_ = true;
  quint16 lastPort_ = 0;
  QLabel* reach_ = nullptr;
};

class JoinDialog : public FriendDialog {
  Q_OBJECT

 public:
  JoinDialog(tesva::OptionsStore& store, QWidget* parent);

  // Listens for announcements on `port`; false when it cannot.
  bool ListenForGames(quint16 port);
  // Connects to `host` (an address or a host name) on `port`, giving up
  // after kConnectTimeout.
  void ConnectTo(const QString& host, quint16 port);
  QListWidget* Found() const { return list_; }

  // What was left of the connect timeout when the connection was made: the
  // handshake must be done within it.
  int TimeLeft() const { return timeLeft_; }
  void SetTimeout(int ms) { timeout_.setInterval(ms); }

  static constexpr int kConnectTimeout = 10000;  // ms
  static constexpr int kMaxFound = 32;           // games listed at once

 public slots:
  void ShowLinkFailure(const QString& text);

 private:
  void ConnectFromFields();
  void ReadAnnouncements();
  void Forget();
  void ConnectFailed(const QString& text);
  // Drops the call under way, if any, and offers the button again.
  void StopConnecting();

  QUdpSocket listener_;
  QTimer forgetTimer_;
  QTimer timeout_;
  int timeLeft_ = kConnectTimeout;
  QTcpSocket* socket_ = nullptr;
  QElapsedTimer clock_;
  QLineEdit* host_ = nullptr;
};

// The six-digit code both windows show once the link is up, with what the
// players do with it; "Reddet" refuses it, which closes the connection.
class PairingDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PairingDialog(QWidget* parent);
  void ShowCode(const QString& code);
  QString Code() const;

 signals:
  void refused();

 private:
  QLabel* code_ = nullptr;
  QLabel* sentence_ = nullptr;
};
