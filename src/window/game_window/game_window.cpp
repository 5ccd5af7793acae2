#include "window/game_window/game_window.h"

#include <QDirIterator>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <map>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "shell/card_names.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel.h"
#include "window/table/table_elements.h"

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect PlaceOf(std::string_view element) {
  return ToPixels(*tesva::FindPlace(element));
}

// Only the enabled look takes the colour; a disabled caption greys as usual.
void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText, color);
  palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
  widget->setPalette(palette);
}

QString ElementName(std::string_view element, int index) {
  return QStringLiteral("%1(%2)").arg(ToQt(element)).arg(index);
}

bool HasItems(std::string_view menu) {
  for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
    if (entry.parent == menu) return true;
  }
  return false;
}

}  // namespace

GameWindow::GameWindow(tesva::Platform services, RecordFiles* files, QWidget* parent)
    : QMainWindow(parent),
      names_(services.store),
      game_(tesva::Platform{names_, services.sound, services.random, services.dialogs,
                            services.host}),
      pictures_(QString::fromStdString(services.host.ProgramFolder())),
      services_(services) {
  // Only a store without the game's options is a first run; a stored size
  // is known now and the table is made at it, laid out once.
  bool firstRun = tesva::ReadOption(game_, tesva::kKeyLevel).empty();
  std::string storedScale = tesva::ReadOption(game_, tesva::kKeyTableScale);
  scale_ = tesva::ParseTableScale(storedScale).value_or(tesva::kDefaultTableScale);
  SetTableScale(scale_ / 100.0);
  // The game starts first, so that the pictures of its first hand are read
  // on a thread of their own while the widgets are made (5 ms sooner drawn).
  tesva::Form_Load(game_);
  keeper_ = new RecordKeeper(game_, files, this, this);
  keeper_->Resume();  // a kept game takes the place of the one just dealt
  ReadPicturesAhead();
  CreateTable();
  CreateMenus();
  keeper_->CreateMenus(menuBar());
  CreateScaleMenuLater();
  CreateFriendMenu();
  AddShortcuts();
  CreateTimers();
  CreateIcon();
  Sync();
  OpenAtTableScale(firstRun, storedScale);
  PlaceOnScreen();
}

GameWindow::~GameWindow() = default;

// --- Building the window -----------------------------------------------------

void GameWindow::CreateTable() {
  table_ = new TableSurface(this);
  table_->setObjectName(QStringLiteral("main"));
  table_->setFont(TableFont());
  table_->setFixedSize(ToPixels(tesva::kClientWidth), ToPixels(tesva::kClientHeight));
  setCentralWidget(table_);
  connect(table_, &TableSurface::moved, this, [this] {
    UseKeys(false);
    Handle(tesva::Form_MouseMove, true);
  });

  // Created back to front: each element lies over those made before it,
  // so the hover frame lies over the hand, Label7 over the status line and
  // the sliding cards over everything but the rules panel.
  CreateHands();
  CreatePiles();
  PlaceCards();
  CreateCaptions();
  motion_ = new MotionLayer(pictures_, table_);
  motion_->setGeometry(table_->rect());
  connect(motion_, &MotionLayer::showingChanged, this, [this] {
    ShowPictures();
    ShowCaptions();
  });
  story_ = new TableStory(table_, *motion_);
  connect(story_, &TableStory::newGameClicked, this, [this] {
    if (FriendRunning()) return friend_->OfferNewGame();
    Handle(tesva::mnuYeni_Click);
  });
  connect(keeper_, &RecordKeeper::gameCounted, story_, &TableStory::SetRecordLine);
}

void GameWindow::CreateHands() {
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    auto* card = new CardPicture(pictures_, table_);
    card->setObjectName(ElementName("Player2_Kart", i));
    PlaceWidget(ComputerSpot(i)) = card;
  }
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    auto* card = new HandCard(pictures_, i, table_);
    card->setObjectName(ElementName("Player1_Kart", i));
    card->setCursor(Qt::PointingHandCursor);
    // The hover frame follows the mouse over the hand even with no button down.
    card->setMouseTracking(true);
    connect(card, &CardPicture::clicked, this, [this, i] { PlayCard(i); });
    connect(card, &CardPicture::hovered, this, [this, i] { HoverCard(i); });
    connect(card, &HandCard::focusStep, this, [this, i](int step) {
      UseKeys(true);
      FocusHandCard(i, step);
    });
    connect(card, &HandCard::tabPressed, this, [this] { UseKeys(true); });
    connect(card, &HandCard::focusTaken, this,
            [this, i](Qt::FocusReason reason) { CardFocused(i, reason); });
    connect(card, &HandCard::keyPlay, this, [this, i] { KeyPlay(i); });
    if (i > 1) setTabOrder(humanCards_[i - 2], card);
    humanCards_[i - 1] = card;
    PlaceWidget(HumanSpot(i)) = card;
  }
  hoverFrame_ = new HoverFrame(table_);
  hoverFrame_->setObjectName(QStringLiteral("Shape1"));
  hoverFrame_->hide();
}

void GameWindow::CreatePiles() {
  for (Spot spot :
       {Spot::kComputerPile, Spot::kHumanPile, Spot::kFloorBase, Spot::kFloorTop, Spot::kDeck}) {
    // The pile's edges lie under its top card.
    if (spot != Spot::kFloorBase) piles_.push_back({spot, new PileEdges(table_)});
    auto* card = new CardPicture(pictures_, table_);
    card->setObjectName(ToQt(ElementOf(spot).name));
    // A drag that starts on a pile is not a move over the table.
    card->setAttribute(Qt::WA_NoMousePropagation);
    PlaceWidget(spot) = card;
  }
}

// Every card place and the hover frame, at the table's size.
void GameWindow::PlaceCards() {
  for (Spot spot : kAllSpots) PlaceWidget(spot)->setGeometry(ToPixels(PlaceOf(spot)));
  hoverFrame_->FitCard();
  hoverFrame_->move(ToPixels(game_.Shape1.left), ToPixels(game_.Shape1.top));
  ShowPileEdges();
}

void GameWindow::CreateCaptions() {
  using Fit = TableLabel::Fit;
  auto caption = [this](std::string_view name, const tesva::Place& place, Qt::Alignment align,
                        Fit fit) {
    auto* label = new TableLabel(place, align, fit, table_);
    label->setObjectName(ToQt(name));
    return label;
  };
  auto placeOf = [](std::string_view name) { return *tesva::FindPlace(name); };

  computerName_ = caption("Player2_Name", placeOf("Player2_Name"), Qt::AlignHCenter, Fit::kText);
  humanName_ = caption("Player1_Name", placeOf("Player1_Name"), Qt::AlignHCenter, Fit::kText);
  baseCaption_ = caption("Label2", placeOf("Label2"), Qt::AlignHCenter, Fit::kText);
  deckCaption_ = caption("Label8", placeOf("Label8"), Qt::AlignHCenter, Fit::kPlace);
  for (TableLabel* label : {computerName_, humanName_, baseCaption_, deckCaption_}) {
    SetTextColor(label, Qt::white);
  }
  for (TableLabel* name : {computerName_, humanName_}) name->setCursor(Qt::PointingHandCursor);
  connect(humanName_, &TableLabel::clicked, this, [this] {
    if (game_.Player1_Name.enabled) Handle(tesva::Player1_Name_Click);
  });
  connect(computerName_, &TableLabel::clicked, this, [this] {
    if (game_.Player2_Name.enabled) Handle(tesva::Player2_Name_Click);
  });

  // The tracker: plain opaque counters, one per rank, seen only in watch mode.
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    auto* count = caption("", tesva::CikanlarPlace(rank), Qt::AlignLeft, Fit::kPlace);
    count->setObjectName(ElementName("Cikanlar", rank));
    count->setAutoFillBackground(true);
    tracker_[rank - 1] = count;
  }

  status_ = caption("Label1", placeOf("Label1"), Qt::AlignLeft, Fit::kPlace);
  // Bold and otherwise the table's font, at whatever size the table has.
  QFont bold;
  bold.setBold(true);
  status_->setFont(bold);
  status_->setFrameStyle(QFrame::Box | QFrame::Plain);
  status_->setLineWidth(1);
  status_->setAutoFillBackground(true);
  QPalette grey = status_->palette();
  grey.setColor(QPalette::Window, ToColor(tesva::kLightGrey));
  grey.setColor(QPalette::WindowText, ToColor(tesva::kNavy));
  status_->setPalette(grey);
  // Label7 stands over the right end of the status line.
  handNumber_ = caption("Label7", placeOf("Label7"), Qt::AlignRight, Fit::kText);
}

// The hidden lists and the rules panel are made the first time they are
// shown: most games never show a list, and neither is needed for the first
// paint. Made late, they are put back under the hover frame and the status
// line; the rules panel lies over everything.
QListWidget* GameWindow::CreateList(std::string_view name) {
  auto* list = new QListWidget(table_);
  list->setObjectName(ToQt(name));
  list->setGeometry(PlaceOf(name));
  list->setAttribute(Qt::WA_NoMousePropagation);
  // Tab and the arrow keys stay among the hand cards.
  list->setFocusPolicy(Qt::NoFocus);
  list->stackUnder(hoverFrame_);
  return list;
}

void GameWindow::CreateRulesPanel() {
  rulesPanel_ = new RulesPanel(table_);
  connect(rulesPanel_, &RulesPanel::okClicked, this, [this] { Handle(tesva::Command1_Click); });
}

void GameWindow::CreateMenus() {
  std::map<std::string_view, QMenu*> menus;  // submenus by item name
  for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
    QMenu* parentMenu = entry.parent.empty() ? nullptr : menus.at(entry.parent);
    if (!entry.item) {
      parentMenu->addSeparator()->setObjectName(ToQt(entry.name));
      continue;
    }
    QString caption = QString::fromStdString((game_.*entry.item).caption);
    QAction* action = nullptr;
    if (HasItems(entry.name)) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
      menu->setObjectName(ToQt(entry.name));
      menus[entry.name] = menu;
      action = menu->menuAction();
    } else {
      action = parentMenu ? parentMenu->addAction(caption) : menuBar()->addAction(caption);
      auto click = entry.click;
      if (click == tesva::mnuYeni_Click) {
        // A game given up counts in the record.
        // With a friend it is offered to the friend.
        connect(action, &QAction::triggered, this, [this] {
          if (FriendRunning()) return friend_->OfferNewGame();
          Handle([this](tesva::Game&) { keeper_->NewGame(); });
        });
      } else {
        connect(action, &QAction::triggered, this, [this, click] { Handle(click); });
      }
    }
    action->setObjectName(ToQt(entry.name));
    menuActions_.push_back({&entry, action});
  }
}

// The keys desktop games use: F2 a new game, F1 help, Ctrl+Q quit. They sit
// on the menu items themselves, so they are enabled exactly when the items are.
void GameWindow::AddShortcuts() {
  const std::pair<const char*, QKeySequence> keys[] = {
      {"mnuYeni", QKeySequence(Qt::Key_F2)},
      {"mnuHelp", QKeySequence(Qt::Key_F1)},
      {"mnuCikis", QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  for (const auto& [name, key] : keys) {
    for (const auto& [entry, action] : menuActions_) {
      if (entry->name != name) continue;
      action->setShortcut(key);
      action->setShortcutContext(Qt::WindowShortcut);
    }
  }
}

void GameWindow::CreateTimers() {
  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  // During a friend game the computer never moves, and the pause at a
  // hand's end runs on the transport's clock.
  connect(timer1_, &QTimer::timeout, this, [this] {
    if (!FriendRunning()) Handle(tesva::Timer1_Timer);
  });
  timer2_ = new QTimer(this);
  timer2_->setObjectName(QStringLiteral("Timer2"));
  connect(timer2_, &QTimer::timeout, this, [this] {
    if (!FriendRunning()) Handle(tesva::Timer2_Timer);
  });
}

// The game's icon, two cards fanned out, as the build drew it for the
// desktop, at the small sizes a title bar and a window switcher show.
void GameWindow::CreateIcon() {
  QIcon icon;
  QDirIterator files(QStringLiteral(":/icon"), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) icon.addFile(files.next());
  setWindowIcon(icon);
}

void GameWindow::ReadPicturesAhead() {
  QStringList names;
  auto add = [&names](const tesva::Picture& picture) {
    QString name = QString::fromStdString(picture.picture);
    if (!name.isEmpty() && !names.contains(name)) names << name;
  };
  for (Spot spot : kAllSpots) add(PictureAt(game_, spot));
  QSize card(ToPixels(tesva::kCardWidth), ToPixels(tesva::kCardHeight));
  pictures_.ReadAhead(names, card, devicePixelRatioF());
}

// A fixed size, centred on the screen it opens on.
void GameWindow::PlaceOnScreen() {
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  adjustSize();
  if (QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

// --- Events ------------------------------------------------------------------

void GameWindow::Handle(const std::function<void(tesva::Game&)>& handler, bool mouseMove) {
  // A friend game's commands act on its own table (its background, card
  // back, sounds, help); those of the computer game are closed on it.
  if (FriendRunning()) {
    handler(friend_->Table());
    return ShowFriendGame();
  }
  handler(game_);
  keeper_->AfterEvent(mouseMove);
  Sync();
}

void GameWindow::PlayCard(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  // The table catches up with the game before the card leaves the hand.
  motion_->FinishAll();
  if (FriendRunning()) {
    friend_->Play(index);
    return;
  }
  Handle([index](tesva::Game& g) { tesva::Player1_Kart_Click(g, index); });
}

void GameWindow::HoverCard(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  UseKeys(false);
  humanCards_[index - 1]->setFocus(Qt::MouseFocusReason);
  Handle([index](tesva::Game& g) { tesva::Player1_Kart_MouseMove(g, index); }, true);
}

void GameWindow::MarkCard(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  if (Framed(index)) return;
  // The game frames no card twice in a row, not even a card dealt again
  // after it was played: as the mouse would, the mark passes over the
  // cloth first.
  Handle(
      [index](tesva::Game& g) {
        tesva::Form_MouseMove(g);
        tesva::Player1_Kart_MouseMove(g, index);
      },
      true);
}

bool GameWindow::Framed(int index) const {
  return game_.Shape1.visible && game_.HoverActive && game_.HoverIndex == index;
}

void GameWindow::CardFocused(int index, Qt::FocusReason reason) {
  focusCard_ = index;
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) keysUsed_ = true;
  UseKeys(keysUsed_);
  if (!keysUsed_) return;
  // After the focus event is done: the focus may move while the window is
  // drawing the game, which must not start another event inside it.
  QMetaObject::invokeMethod(
      this,
      [this, index] {
        if (keysUsed_ && humanCards_[index - 1]->hasFocus()) MarkCard(index);
      },
      Qt::QueuedConnection);
}

void GameWindow::KeyPlay(int index) {
  if (keysUsed_ || Framed(index)) {
    PlayCard(index);
    return;
  }
  UseKeys(true);
  MarkCard(index);
}

void GameWindow::UseKeys(bool keys) {
  keysUsed_ = keys;
  for (HandCard* card : humanCards_) card->ShowKeyboardMark(keys);
}

// Keys 1 to 4 play the hand's cards, like a click on them.
void GameWindow::keyPressEvent(QKeyEvent* event) {
  int index = event->key() - Qt::Key_0;
  bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (index >= 1 && index <= tesva::kHandSize && plain) {
    PlayCard(index);
    return;
  }
  if (event->key() == Qt::Key_H && plain) {
    keeper_->RequestHint();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void GameWindow::FocusHandCard(int from, int step, Qt::FocusReason reason) {
  auto playable = [this](int i) {
    return i >= 1 && i <= tesva::kHandSize && game_.Player1_Kart(i).enabled;
  };
  int to = 0;
  if (step != 0) {
    for (int i = from + step; i >= 1 && i <= tesva::kHandSize && !to; i += step) {
      if (playable(i)) to = i;
    }
  } else {
    for (int distance = 0; distance < tesva::kHandSize && !to; ++distance) {
      if (playable(from - distance)) to = from - distance;
      if (playable(from + distance)) to = from + distance;  // the right-hand one first
    }
  }
  if (to) humanCards_[to - 1]->setFocus(reason);
}
