// The game's own menu bar (shell/menus): its menus and items as the game
// has them, captioned, checked and enabled as the game says, with the keys
// desktop games use.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "shell/main_window.h"

class QAction;
class QMenuBar;

class GameMenus : public QObject {
  Q_OBJECT

 public:
  using Click = void (*)(tesva::Game&);
  // An item runs its command through `choose`; "Yeni Oyun" asks `newGame`.
  GameMenus(QMenuBar* bar, const tesva::Game& game, std::function<void(Click)> choose,
            std::function<void()> newGame);

  // The items take the game's captions, check marks and enabling.
  void Sync(const tesva::Game& game);

 private:
  void Create(QMenuBar* bar, const tesva::Game& game);
  void AddShortcuts();

  std::function<void(Click)> choose_;
  std::function<void()> newGame_;
  struct MenuAction {
    const tesva::MenuEntry* entry;
    QAction* action;
  };
  std::vector<MenuAction> actions_;
};
