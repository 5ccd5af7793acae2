#include "window/menus/game_menus.h"

#include <QMenu>
#include <QMenuBar>
#include <map>

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool HasItems(std::string_view menu) {
  for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
    if (entry.parent == menu) return true;
  }
  return false;
}

}  // namespace

GameMenus::GameMenus(QMenuBar* bar, const tesva::Game& game, std::function<void(Click)> choose,
                     std::function<void()> newGame)
    : QObject(bar), choose_(std::move(choose)), newGame_(std::move(newGame)) {
  Create(bar, game);
  AddShortcuts();
}

void GameMenus::Create(QMenuBar* bar, const tesva::Game& game) {
  std::map<std::string_view, QMenu*> menus;  // submenus by item name
  for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
    QMenu* parentMenu = entry.parent.empty() ? nullptr : menus.at(entry.parent);
    if (!entry.item) {
      parentMenu->addSeparator()->setObjectName(ToQt(entry.name));
      continue;
    }
    QString caption = QString::fromStdString((game.*entry.item).caption);
    QAction* action = nullptr;
    if (HasItems(entry.name)) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : bar->addMenu(caption);
      menu->setObjectName(ToQt(entry.name));
      menus[entry.name] = menu;
      action = menu->menuAction();
    } else {
      action = parentMenu ? parentMenu->addAction(caption) : bar->addAction(caption);
      Click click = entry.click;
      if (click == tesva::mnuYeni_Click) {
        connect(action, &QAction::triggered, this, [this] { newGame_(); });
      } else {
        connect(action, &QAction::triggered, this, [this, click] { choose_(click); });
      }
    }
    action->setObjectName(ToQt(entry.name));
    actions_.push_back({&entry, action});
  }
}

// The keys desktop games use: F2 a new game, F1 help, Ctrl+Q quit. They sit
// on the menu items themselves, so they are enabled exactly when the items are.
void GameMenus::AddShortcuts() {
  const std::pair<const char*, QKeySequence> keys[] = {
      {"mnuYeni", QKeySequence(Qt::Key_F2)},
      {"mnuHelp", QKeySequence(Qt::Key_F1)},
      {"mnuCikis", QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  for (const auto& [name, key] : keys) {
    for (const auto& [entry, action] : actions_) {
      if (entry->name != name) continue;
      action->setShortcut(key);
      action->setShortcutContext(Qt::WindowShortcut);
    }
  }
}

// Menus are compared with the actions themselves, not with the last drawn
// copy: a checkable action flips its own check mark when chosen, and the
// game's mark must win.
void GameMenus::Sync(const tesva::Game& game) {
  for (const MenuAction& menu : actions_) {
    const tesva::MenuItem& item = game.*(menu.entry->item);
    QString caption = QString::fromStdString(item.caption);
    if (menu.action->text() != caption) menu.action->setText(caption);
    // Only a checked item is checkable, so an unchecked one shows no box.
    if (menu.action->isCheckable() != item.checked) menu.action->setCheckable(item.checked);
    if (menu.action->isChecked() != item.checked) menu.action->setChecked(item.checked);
    if (menu.action->isEnabled() != item.enabled) menu.action->setEnabled(item.enabled);
  }
}
