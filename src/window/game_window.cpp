#include "window/game_window.h"

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
#include "window/friend_game.h"
#include "window/motion_layer.h"
#include "window/record_keeper.h"
#include "window/rules_panel.h"
#include "window/table_elements.h"
#include "window/table_story.h"

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

// Starts, stops or re-times a timer to match the game's; a running timer
// given a new interval starts counting it at once.
void SyncTimer(QTimer* timer, const tesva::Timer& now) {
  if (timer->interval() != now.interval) timer->setInterval(now.interval);
  if (now.enabled && !timer->isActive()) timer->start();
  if (!now.enabled && timer->isActive()) timer->stop();
}

}  // namespace

GameWindow::GameWindow(tesva::Platform services, RecordFiles* files, QWidget* parent)
    : QMainWindow(parent),
      names_(services.store),
      game_(tesva::Platform{names_, services.sound, services.random, services.dialogs,
                            services.host}),
      pictures_(QString::fromStdString(services.host.ProgramFolder())) {
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
  friend_ = new FriendGame(services, this);
  friend_->CreateMenu(menuBar());
  connect(friend_, &FriendGame::started, this, &GameWindow::EnterFriendGame);
  connect(friend_, &FriendGame::changed, this, &GameWindow::ShowFriendGame);
  connect(friend_, &FriendGame::finished, this, &GameWindow::LeaveFriendGame);
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
    if (friend_->Running()) return friend_->Leave();
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
        connect(action, &QAction::triggered, this,
                [this] { Handle([this](tesva::Game&) { keeper_->NewGame(); }); });
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
    if (!friend_->Running()) Handle(tesva::Timer1_Timer);
  });
  timer2_ = new QTimer(this);
  timer2_->setObjectName(QStringLiteral("Timer2"));
  connect(timer2_, &QTimer::timeout, this, [this] {
    if (!friend_->Running()) Handle(tesva::Timer2_Timer);
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
  if (friend_->Running()) {
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
  if (friend_->Running()) {
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
  if (game_.Shape1.visible && game_.HoverActive && game_.HoverIndex == index) return;
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
  bool framed = game_.Shape1.visible && game_.HoverActive && game_.HoverIndex == index;
  if (keysUsed_ || framed) {
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

// --- Drawing the game --------------------------------------------------------

void GameWindow::Sync() {
  // The table shows the game's change as cards sliding from where they
  // were drawn to where the game has them now. The first drawing shows
  // the table as it is.
  // What the table tells of the event waits for its cards: a take's points
  // for the take's two steps, a hand's result for all of them.
  std::uint64_t queued = motion_->Landed() + motion_->StepsLeft();
  std::uint64_t takeLanded = queued;
  if (drawnOnce_) {
    MotionPlan plan = PlanMotion(drawn_, game_);
    takeLanded += std::min<std::size_t>(plan.steps.size(), 2);
    motion_->Add(std::move(plan));
  }
  std::uint64_t allLanded = motion_->Landed() + motion_->StepsLeft();
  SyncWindow();
  SyncPictures();
  SyncAccessibleNames();
  SyncLabels();
  SyncLists();
  SyncHoverFrame();
  SyncMenus();
  SyncTimers();
  keeper_->Sync();
  drawn_ = static_cast<const tesva::Form&>(game_);
  drawnOnce_ = true;
  story_->Follow(game_, takeLanded, allLanded);
}

void GameWindow::SyncWindow() {
  if (!drawnOnce_ || drawn_.Caption != game_.Caption) {
    setWindowTitle(QString::fromStdString(game_.Caption));
  }
  if (!drawnOnce_ || drawn_.BackColor != game_.BackColor) {
    table_->SetColor(ToColor(game_.BackColor));
  }
  if (!drawnOnce_ || drawn_.MousePointer != game_.MousePointer) {
    if (game_.MousePointer == tesva::Pointer::kHourglass) {
      table_->setCursor(Qt::WaitCursor);
    } else {
      table_->unsetCursor();
    }
  }
  if (!drawnOnce_ || drawn_.Picture1Visible != game_.Picture1Visible) {
    if (game_.Picture1Visible && !rulesPanel_) CreateRulesPanel();
    if (rulesPanel_) rulesPanel_->setVisible(game_.Picture1Visible);
  }
}

// Enabled and shown as the game says at once, so that no click or key is
// lost while cards slide; the pictures follow the movement.
void GameWindow::SyncPictures() {
  for (Spot spot : kAllSpots) {
    const tesva::Picture& now = PictureAt(game_, spot);
    CardPicture* widget = PlaceWidget(spot);
    // A disabled card gives up the focus without passing it on to its
    // neighbours, which are disabled with it.
    if (!now.enabled && widget->hasFocus()) widget->clearFocus();
    if (widget->isEnabled() != now.enabled) widget->setEnabled(now.enabled);
    if (widget->isHidden() == now.visible) widget->setVisible(now.visible);
  }
  ShowPictures();

  // The human's cards lie in the game's order, all under the hover frame.
  if (!drawnOnce_ || drawn_.ZOrder != game_.ZOrder) {
    for (int index : game_.ZOrder) humanCards_[index - 1]->stackUnder(hoverFrame_);
  }
  // Once the hand can be played again, the focus is back on it, next to
  // the card played last.
  if (focusCard_ && !focusWidget()) FocusHandCard(focusCard_, 0, Qt::OtherFocusReason);
}

// Each place shows the game's picture, or while cards slide the picture
// the movement gives it.
void GameWindow::ShowPictures() {
  const TablePictures* moving = motion_->Showing();
  for (Spot spot : kAllSpots) {
    const std::string& picture = moving ? At(*moving, spot) : PictureAt(game_, spot).picture;
    PlaceWidget(spot)->SetPicture(QString::fromStdString(picture));
  }
  ShowPileEdges();
}

// A place that shows no card shows no edges either; the cards the edges
// stand for are the game's.
void GameWindow::ShowPileEdges() {
  for (const Pile& pile : piles_) {
    CardPicture* top = PlaceWidget(pile.spot);
    int cards = top->ShowsCard() ? tesva::PileCount(game_, ElementOf(pile.spot).name) : 0;
    pile.edges->Follow(top->geometry(), cards);
  }
}

// A screen reader names every card place in Turkish; the names follow the
// game (the deck's name is its count, so it changes with Label8).
void GameWindow::SyncAccessibleNames() {
  for (Spot spot : kAllSpots) {
    if (spot == Spot::kDeck) continue;  // named after its caption (ShowCaptions)
    auto [element, index] = ElementOf(spot);
    QString text = QString::fromStdString(tesva::AccessibleName(game_, element, index));
    QWidget* widget = PlaceWidget(spot);
    if (widget->accessibleName() != text) widget->setAccessibleName(text);
  }
}

void GameWindow::ShowLabel(TableLabel* widget, const tesva::Label& now,
                           const tesva::Label& before) {
  if (drawnOnce_ && now == before) return;
  // A hidden element tells a screen reader nothing: its text is there
  // only while it is shown.
  widget->SetCaption(now.visible ? QString::fromStdString(now.caption) : QString());
  widget->setEnabled(now.enabled);
  widget->setVisible(now.visible);
}

TableLabel* GameWindow::CaptionWidget(Caption caption) const {
  switch (caption) {
    case Caption::kStatus:
      return status_;
    case Caption::kBase:
      return baseCaption_;
    case Caption::kHandNumber:
      return handNumber_;
    case Caption::kDeck:
      return deckCaption_;
    case Caption::kHumanName:
      return humanName_;
    case Caption::kComputerName:
      break;
  }
  return computerName_;
}

// The captions a move changes show the game's text once its cards have
// landed; whether a caption can be clicked follows the game at once.
void GameWindow::ShowCaptions() {
  const TableCaptions* moving = motion_->ShowingCaptions();
  for (Caption caption : kAllCaptions) {
    const tesva::Label& now = LabelAt(game_, caption);
    const tesva::Label& shown = moving ? At(*moving, caption) : now;
    TableLabel* widget = CaptionWidget(caption);
    QString text = QString::fromStdString(shown.caption);
    if (widget->Caption() != text) widget->SetCaption(text);
    if (widget->isEnabled() != now.enabled) widget->setEnabled(now.enabled);
    if (widget->isHidden() == shown.visible) widget->setVisible(shown.visible);
  }
  // The status line's text ends before the hand number over its right end.
  int room = status_->width();
  if (handNumber_->isVisible() && !handNumber_->Caption().isEmpty()) {
    room = handNumber_->x() - status_->x();
  }
  status_->SetRoom(room);
  // The deck's name to a screen reader is the count it shows.
  if (PlaceWidget(Spot::kDeck)->accessibleName() != deckCaption_->Caption()) {
    PlaceWidget(Spot::kDeck)->setAccessibleName(deckCaption_->Caption());
  }
}

void GameWindow::SyncLabels() {
  ShowCaptions();
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    ShowLabel(tracker_[rank - 1], game_.Cikanlar(rank), drawn_.Cikanlar(rank));
  }
}

void GameWindow::ShowList(QListWidget*& widget, std::string_view name, const tesva::TextList& now,
                          const tesva::TextList& before) {
  bool fresh = !widget;
  if (fresh) {
    if (!now.visible) return;
    widget = CreateList(name);
  } else if (now == before) {
    return;
  }
  // A hidden list holds nothing a screen reader could read.
  if (!now.visible) {
    widget->clear();
  } else if (fresh || now.items != before.items || !before.visible) {
    widget->clear();
    for (const std::string& item : now.items) widget->addItem(QString::fromStdString(item));
  }
  widget->setVisible(now.visible);
}

void GameWindow::SyncLists() {
  ShowList(deckList_, "List1", game_.List1, drawn_.List1);
  ShowList(computerHandList_, "List2", game_.List2, drawn_.List2);
}

void GameWindow::SyncHoverFrame() {
  if (drawnOnce_ && drawn_.Shape1 == game_.Shape1) return;
  hoverFrame_->move(ToPixels(game_.Shape1.left), ToPixels(game_.Shape1.top));
  hoverFrame_->setVisible(game_.Shape1.visible);
}

// Menus are compared with the actions themselves, not with the last drawn
// copy: a checkable action flips its own check mark when chosen, and the
// game's mark must win.
void GameWindow::SyncMenus() {
  for (const MenuAction& menu : menuActions_) {
    const tesva::MenuItem& item = game_.*(menu.entry->item);
    QString caption = QString::fromStdString(item.caption);
    if (menu.action->text() != caption) menu.action->setText(caption);
    // Only a checked item is checkable, so an unchecked one shows no box.
    if (menu.action->isCheckable() != item.checked) menu.action->setCheckable(item.checked);
    if (menu.action->isChecked() != item.checked) menu.action->setChecked(item.checked);
    if (menu.action->isEnabled() != item.enabled) menu.action->setEnabled(item.enabled);
  }
}

void GameWindow::SyncTimers() {
  if (friend_->Running()) {
    timer1_->stop();
    timer2_->stop();
    return;
  }
  SyncTimer(timer1_, game_.Timer1);
  SyncTimer(timer2_, game_.Timer2);
}
