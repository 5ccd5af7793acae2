#include "window/menus/scale_menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "shell/main_window.h"
#include "window/platform/core_text.h"

ScaleMenu::ScaleMenu(QMenuBar* bar, std::function<int()> current, std::function<void(int)> choose)
    : QObject(bar), current_(std::move(current)), choose_(std::move(choose)) {
  auto* options = bar->findChild<QMenu*>(QStringLiteral("mnuSecenek"));
  if (!options) return;
  connect(options, &QMenu::aboutToShow, this, [this, options] {
    if (actions_.empty()) Create(options);
  });
}

void ScaleMenu::Create(QMenu* options) {
  QMenu* menu = options->addMenu(ToQt(tesva::kTableScaleMenu));
  menu->setObjectName(QStringLiteral("mnuMasaBuyuklugu"));
  menu->menuAction()->setObjectName(QStringLiteral("mnuMasaBuyuklugu"));
  auto* group = new QActionGroup(menu);
  group->setExclusive(true);
  for (int percent : tesva::kTableScales) {
    QAction* action = menu->addAction(ToQt(tesva::TableScaleCaption(percent)));
    action->setObjectName(QStringLiteral("mnuMasa%1").arg(percent));
    action->setCheckable(true);
    action->setChecked(percent == current_());
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, percent] { choose_(percent); });
    actions_.push_back(action);
  }
}

void ScaleMenu::Check(int percent) {
  for (QAction* action : actions_) {
    action->setChecked(action->objectName() == QStringLiteral("mnuMasa%1").arg(percent));
  }
}
