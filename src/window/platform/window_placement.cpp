#include "window/platform/window_placement.h"

#include <QDirIterator>
#include <QIcon>
#include <QLayout>
#include <QScreen>
#include <QWidget>

void ShowGameIcon(QWidget* window) {
  QIcon icon;
  QDirIterator files(QStringLiteral(":/icon"), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) icon.addFile(files.next());
  window->setWindowIcon(icon);
}

void PlaceOnScreen(QWidget* window) {
  window->layout()->setSizeConstraint(QLayout::SetFixedSize);
  window->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  window->adjustSize();
  if (QScreen* screen = window->screen()) {
    window->move(screen->availableGeometry().center() - window->rect().center());
  }
}
