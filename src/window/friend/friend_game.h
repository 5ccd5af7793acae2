// The window's game with a friend: its menu (friend_texts::kMenu), the host and
// join dialogs, the pairing code, and the TcpTransport that carries the
// game. Everything the other side sends passes the transport's Session
// (frame reader, link, state machine) before this sees any of it; this
// only reads the NetGame's table, whose own player sits at the bottom and
// the other where the computer sits, and hands it the player's cards.
//
//   no friend game -> handshake (a socket handed on by a dialog)
//     -> playing (the link is ready: the pairing code is shown, the
//        window draws the NetGame's table)
//     -> lost (the connection dropped or went silent: the table stays;
//        the guest connects again every second or two, the host listens on
//        its port, both for two minutes; a new connection that proves it
//        is the same friend takes the game up at the same step -> playing)
//        or ended (the game finished, or the peer misbehaved: the table
//        stays with what happened on its status line)
//   the leave item (friend_texts::kLeaveItem), refusing the code, or the other side leaving ends
//   it all, and the window goes back to a game against the computer.
//   "Yeni Oyun" offers the friend a new game on the same connection; taken
//   up, it starts on both tables (-> playing).
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>
#include <string>

#include "engine/game_state.h"
#include "net/link.h"
#include "window/friend/friend_side.h"

class HostDialog;
class JoinDialog;
class PairingDialog;
class QMessageBox;
class QAction;
class QTcpSocket;
class QWidget;

namespace tesva::net {
class TcpTransport;
}

class FriendGame : public QObject, public FriendSide {
  Q_OBJECT

 public:
  enum class Stage { kNone, kHandshake, kPlaying, kLost, kEnded };

  FriendGame(tesva::Platform services, QWidget* window);
  ~FriendGame() override;

  void AdoptMenu(QAction* host, QAction* join, QAction* leave) override;
  // The dialogs, made at the first use; Open… also shows them and starts
  // listening.
  HostDialog* Host();
  JoinDialog* Join();
  void OpenHost() override;
  void OpenJoin() override;
  // Where announcements are sent and listened for, and whether they are
  // also broadcast on the local network.
  void SetAnnouncement(quint16 port, bool broadcast);

  // How long a lost friend is waited for (kRejoinLimit unless changed).
  void SetRejoinLimit(int ms) { giveUpTimer_.setInterval(ms); }
  // How long a new connection may take to become a game (kHandshakeLimit),
  // and how long a link may be silent (the link's own limit) unless changed.
  void SetHandshakeLimit(int ms) { handshakeLimit_ = ms; }
  void SetSilenceLimit(int ms) { silenceLimit_ = ms; }

  Stage stage() const { return stage_; }
  // The friend game's table is what the window shows.
  bool Running() const override { return stage_ >= Stage::kPlaying; }
  // The NetGame's table; only while Running().
  tesva::Game& Table() override;
  // Copies the table for the window to draw, with the computer's commands
  // closed and the status while the connection is lost.
  void MirrorInto(tesva::Game& shown) override;
  // The local player's hand card; false when it may not be played now.
  bool Play(int slot) override;
  // The leave item (friend_texts::kLeaveItem): says goodbye and ends the friend game.
  void Leave() override;
  void OfferNewGame() override;
  const tesva::Game* PreviousTable() override;
  // "Yeni Oyun" does something now: offers a game, or leaves a friend gone.
  bool NewGameOpen();

  PairingDialog* Pairing() const { return pairing_; }
  QString PairingCode() const;
  QAction* LeaveAction() const { return leave_; }
  // The last thing said about the connection's end, for the player.
  QString LastMessage() const { return lastMessage_; }

 signals:
  void started();
  void changed();
  // The friend game is over and its table gone.
  void finished();
  void renewed();

 private:
  void Take(QTcpSocket* socket, tesva::net::Role role);
  void OnChanged();
  void OnEnded();
  // A connection that never became a game: the dialog that made it says why.
  void EndHandshake(const QString& why);
  void Finish(const QString& message);
  void SyncMenu();
  // After a lost connection: the host listens again, the guest calls again.
  void StartRejoining();
  void StopRejoining();
  void CallAgain();
  void TakeRejoin(QTcpSocket* socket);
  // The offers of a new game, from either side, and their answers.
  void FollowOffers();
  void AskAboutOffer();
  void CloseOfferBoxes();
  QMessageBox* Tell(const char* name, const QString& text);
  QString FriendName();

  tesva::Platform services_;
  QWidget* window_;
  Stage stage_ = Stage::kNone;
  QPointer<tesva::net::TcpTransport> transport_;
  HostDialog* host_ = nullptr;
  JoinDialog* join_ = nullptr;
  PairingDialog* pairing_ = nullptr;
  quint16 announcePort_;
  bool broadcast_ = true;
  QAction* hostAction_ = nullptr;
  QAction* joinAction_ = nullptr;
  QAction* leave_ = nullptr;
  QString lastMessage_;
  // Where the friend game was connected, to connect again.
  tesva::net::Role role_ = tesva::net::Role::kHost;
  QHostAddress peer_;
  quint16 port_ = 0;
  QTcpServer rejoinServer_;
  QPointer<QTcpSocket> calling_;
  QTimer callTimer_;
  QTimer giveUpTimer_;
  QTimer handshakeTimer_;
  int handshakeLimit_ = kHandshakeLimit;
  int silenceLimit_ = 0;  // 0: the link's own
  int shownGame_ = 1;     // the session's game number the window shows
  QPointer<QMessageBox> offerSent_;
  QPointer<QMessageBox> offerCame_;

 public:
  static constexpr int kRejoinLimit = 120000;  // ms: two minutes
  static constexpr int kCallInterval = 1500;   // ms between the guest's calls
  // ms from a connection to its pairing code: a peer that says nothing
  // holds the host's one place for no longer.
  static constexpr int kHandshakeLimit = 10000;
};

// The friend side made directly, where the program is linked with it (the
// tests); the window loads the library's for itself.
FriendSide* MakeFriendSide(tesva::Platform services, QWidget* window,
                           FriendSide::Listener listener);
