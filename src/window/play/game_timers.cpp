#include "window/play/game_timers.h"

#include <QTimer>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "window/play/table_play.h"

namespace {

// A running timer given a new interval starts counting it at once.
void SyncTimer(QTimer* timer, const tesva::Timer& now) {
  if (timer->interval() != now.interval) timer->setInterval(now.interval);
  if (now.enabled && !timer->isActive()) timer->start();
  if (!now.enabled && timer->isActive()) timer->stop();
}

}  // namespace

GameTimers::GameTimers(TablePlay*& play, QObject* parent)
    : QObject(parent), timer1_(new QTimer(parent)), timer2_(new QTimer(parent)) {
  timer1_->setObjectName(QStringLiteral("Timer1"));
  connect(timer1_, &QTimer::timeout, this, [&play] { play->Tick(tesva::Timer1_Timer); });
  timer2_->setObjectName(QStringLiteral("Timer2"));
  connect(timer2_, &QTimer::timeout, this, [&play] { play->Tick(tesva::Timer2_Timer); });
}

void GameTimers::Sync(const tesva::Game& game) {
  SyncTimer(timer1_, game.Timer1);
  SyncTimer(timer2_, game.Timer2);
}
