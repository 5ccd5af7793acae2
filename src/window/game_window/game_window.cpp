#include "window/game_window/game_window.h"

#include <QKeyEvent>
#include <QMenuBar>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "window/menus/game_menus.h"
#include "window/menus/scale_menu.h"
#include "window/platform/window_placement.h"
#include "window/play/computer_play.h"
#include "window/play/friend_play.h"
#include "window/play/game_timers.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/caption_labels.h"
#include "window/table/card_picture.h"
#include "window/table/hand_card.h"
#include "window/table/hand_keys.h"
#include "window/table/hover_frame.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel_place.h"
#include "window/table/table_fonts.h"
#include "window/table/table_lists.h"
#include "window/table/table_piles.h"
#include "window/table/table_surface.h"
#include "window/table/table_units.h"

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ElementName(std::string_view element, int index) {
  return QStringLiteral("%1(%2)").arg(ToQt(element)).arg(index);
}

}  // namespace

GameWindow::GameWindow(tesva::Platform services, RecordFiles* files, QWidget* parent)
    : QMainWindow(parent),
      names_(services.store, tesva::net::FriendNameStore::OwnName::kNeverWritten, false),
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
  scaleMenu_ = new ScaleMenu(
      menuBar(), [this] { return scale_; }, [this](int percent) { ChooseTableScale(percent); });
  CreatePlay(services);
  timers_ = new GameTimers(play_, this);
  ShowGameIcon(this);
  Sync();
  OpenAtTableScale(firstRun, storedScale);
  PlaceOnScreen(this);
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
    keys_->UseKeys(false);
    Handle(tesva::Form_MouseMove, true);
  });

  // Created back to front: each element lies over those made before it,
  // so the hover frame lies over the hand, Label7 over the status line and
  // the sliding cards over everything but the rules panel.
  keys_ = new HandKeys(
      game_,
      [this](const HandKeys::Handler& handler, bool mouseMove) { Handle(handler, mouseMove); },
      [this](int index) { PlayCard(index); }, this);
  CreateHands();
  CreatePiles();
  PlaceCards();
  CreateCaptions();
  lists_ = new TableLists(table_, hoverFrame_);
  rules_ = new RulesPanelPlace(table_);
  connect(rules_, &RulesPanelPlace::okClicked, this, [this] { Handle(tesva::Command1_Click); });
  motion_ = new MotionLayer(pictures_, table_);
  motion_->setGeometry(table_->rect());
  connect(motion_, &MotionLayer::showingChanged, this, [this] {
    ShowPictures();
    ShowCaptions();
  });
  story_ = new TableStory(table_, *motion_);
  connect(story_, &TableStory::newGameClicked, this, [this] { play_->NewGame(); });
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
    keys_->Add(card);
    if (i > 1) setTabOrder(humanCards_[i - 2], card);
    humanCards_[i - 1] = card;
    PlaceWidget(HumanSpot(i)) = card;
  }
  hoverFrame_ = new HoverFrame(table_);
  hoverFrame_->setObjectName(QStringLiteral("Shape1"));
  hoverFrame_->hide();
}

void GameWindow::CreatePiles() {
  piles_ = new TablePiles(pictures_, table_);
  for (Spot spot : kAllSpots) {
    if (CardPicture* top = piles_->Top(spot)) PlaceWidget(spot) = top;
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
  captions_ = new CaptionLabels(table_);
  connect(captions_, &CaptionLabels::humanNameClicked, this, [this] {
    if (game_.Player1_Name.enabled) Handle(tesva::Player1_Name_Click);
  });
  connect(captions_, &CaptionLabels::computerNameClicked, this, [this] {
    if (game_.Player2_Name.enabled) Handle(tesva::Player2_Name_Click);
  });
}

void GameWindow::CreateMenus() {
  menus_ = new GameMenus(
      menuBar(), game_, [this](GameMenus::Click click) { Handle(click); },
      [this] { play_->NewGame(); });
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

void GameWindow::CreatePlay(tesva::Platform services) {
  computer_ = std::make_unique<ComputerPlay>(game_, *keeper_, [this] { Sync(); });
  friend_ = new FriendPlay(
      services,
      {this, game_, names_, *keeper_, *story_, [this] { Sync(); }, [this] { DrawAfresh(); }},
      *computer_);
  friend_->CreateMenu();
  play_ = friend_;
}

void GameWindow::DrawAfresh() {
  motion_->FinishAll();
  drawnOnce_ = false;
  Sync();
}

// --- Events ------------------------------------------------------------------

void GameWindow::Handle(const std::function<void(tesva::Game&)>& handler, bool mouseMove) {
  play_->Handle(handler, mouseMove);
}

void GameWindow::PlayCard(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  // The table catches up with the game before the card leaves the hand.
  motion_->FinishAll();
  play_->Play(index);
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
