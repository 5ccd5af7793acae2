// The boards that tell the end of a hand and of a game: made when first
// shown, drawn over the middle of the table and never over the hand.
#pragma once

#include <QFrame>
#include <QString>
#include <vector>

#include "engine/hand_summary.h"

class QGridLayout;
class QLabel;
class QPushButton;

// Where a hand's points came from, for both players.
class HandPanel : public QFrame {
  Q_OBJECT
 public:
  explicit HandPanel(QWidget* parent);

  void Show(const tesva::HandSummary& summary, const QString& humanName,
            const QString& computerName);
  int HandNo() const { return handNo_; }
  // The figures as shown: one row per line, the title first, and for the
  // table's rows their heading and both players' figures.
  std::vector<QStringList> Rows() const;
  QString LeftOver() const;
  // Shows the same figures again, fitted to the panel's new size.
  void Refit();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void FitToFont();
  void AddRow(const QString& heading, const QString& human, const QString& computer,
              bool bold = false);

  QLabel* title_;
  QGridLayout* grid_;
  QLabel* leftOver_;
  int rows_ = 0;
  int handNo_ = 0;
  tesva::HandSummary summary_;
  QString humanName_, computerName_;
};

// The game's result and the way to the next game.
class GameEndPanel : public QFrame {
  Q_OBJECT
 public:
  explicit GameEndPanel(QWidget* parent);

  void Show(const QString& result, const QString& totals);
  // One more line under the totals (the player's record for the level
  // just played); empty hides it.
  void SetExtraLine(const QString& text);
  QString Result() const;
  QString Totals() const;
  QString ExtraLine() const;
  QPushButton* NewGameButton() const { return newGame_; }
  // Shows the same lines again, fitted to the panel's new size.
  void Refit();

 signals:
  void newGameClicked();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void FitToFont();
  void FitButton();

  QLabel* result_;
  QLabel* totals_;
  QLabel* extra_;
  QPushButton* newGame_;
};

// "+3", "+30", "–" for nothing.
QString PointsText(int points);
