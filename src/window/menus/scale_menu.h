// The table's size (kTableScaleMenu): 100, 150 or 200 %, the last entry of
// the options menu (mnuSecenek), after the game's own items, so that the game's menu bar
// stays as it is. Made when the options menu first opens, not at start-up.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

class ScaleMenu : public QObject {
  Q_OBJECT

 public:
  // `current` is the table's size now; `choose` is asked for another.
  ScaleMenu(QMenuBar* bar, std::function<int()> current, std::function<void(int)> choose);
  // The check mark goes to `percent`.
  void Check(int percent);

 private:
  void Create(QMenu* options);

  std::function<int()> current_;
  std::function<void(int)> choose_;
  std::vector<QAction*> actions_;  // "%100", "%150", "%200", once made
};
