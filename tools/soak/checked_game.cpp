#include "checked_game.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <exception>
#include <stdexcept>

#include "cpu/computer.h"
#include "cpu/hand_model.h"
#include "engine/engine.h"
#include "engine/hand_summary.h"
#include "shell/main_window.h"

namespace tesva::soak {

// An option that menu commands set: a check-mark group, by the submenu
// that holds it, or a command of its own.
struct OptionGroup {
  std::string_view submenu;
  std::string_view key;
  std::string (*value)(const Game&);
  // Start-up sets the marks from the value itself; the delay's marks follow
  // only the menu's own values.
  bool marksFollowValue;
};

namespace {

constexpr int kNoCard = -1;
constexpr int kBackShown = -2;  // the floor shows the face-down floor cards
constexpr std::uint64_t kAllCards = (std::uint64_t{1} << kDeckSize) - 1;
constexpr int kHumanPlayer = 0;
constexpr int kComputerPlayer = 1;

// Cards by number (CardIdOf): 13 a suit, in the suit order of the shuffle;
// kNoCard for no card.
static_assert(kNoCard == -1, "CardIdOf gives -1 for anything but a card");
const std::string& Code(int card) {
  static const auto codes = [] {
    std::array<std::string, kDeckSize> all;
    for (int card = 0; card < kDeckSize; ++card)
      all[card] = CardCode(card / kRanks, card % kRanks + 1);
    return all;
  }();
  static const std::string none;
  return card >= 0 ? codes[card] : none;
}
std::uint64_t Bit(int card) {
  return std::uint64_t{1} << card;
}

// The check-mark groups and the option each writes. A new item of a group
// is found in the menu bar.
constexpr std::array<OptionGroup, 4> kGroups = {{
    {"mnuSeviye", kKeyLevel, [](const Game& g) { return g.Level; }, true},
    {"mnuBack", kKeyBackground, [](const Game& g) { return std::to_string(g.BackColor); }, true},
    {"mnuDeste", kKeyCardBack, [](const Game& g) { return g.CardBack; }, true},
    {"mnuDusunmeHizi", kKeyDelay, [](const Game& g) { return std::to_string(g.Timer1.interval); },
     false},
}};
// The value each checked item stands for.
struct Mark {
  std::string_view item;
  std::string_view value;
};
constexpr std::array<Mark, 12> kMarks = {{
    {"mnuAmator", "1"},
    {"mnuPro", "2"},
    {"mnuUsta", "3"},
    {"mnuYesil", "32768"},
    {"mnuLacivert", "8388608"},
    {"mnuSiyah", "0"},
    {"mnuRenkli", "Back"},
    {"mnuStandart", "Back2"},
    {"mnuFirst", "10"},
    {"mnuSecond", "100"},
    {"mnuTherd", "500"},
    {"mnuLast", "1000"},
}};
// Commands of their own that write an option.
constexpr std::array<OptionGroup, 2> kSingles = {{
    {"mnuElSayisi", kKeyHands, [](const Game& g) { return std::to_string(g.HandsPerGame); }, false},
    {"mnuSesler", kKeySounds,
     [](const Game& g) { return std::string(g.mnuSesler.checked ? "1" : "0"); }, false},
}};

std::string_view MarkValue(std::string_view item) {
  for (const auto& mark : kMarks) {
    if (mark.item == item) return mark.value;
  }
  return {};
}

// The option that the delivered menu command writes, if any.
const OptionGroup* WrittenOption(std::string_view menu) {
  for (const auto& single : kSingles) {
    if (single.submenu == menu) return &single;
  }
  const MenuEntry* entry = FindMenu(menu);
  for (const auto& group : kGroups) {
    if (entry && entry->parent == group.submenu) return &group;
  }
  return nullptr;
}

// The items of each check-mark group with the value each stands for, found
// in the menu bar once. With this and the store read back only after menu
// commands, 5,000 sequences take 4.7-5.6 s of processor time instead of
// 5.7-6.1 s (two runs each, one job).
struct GroupItem {
  MenuItem Form::*item;
  std::string_view value;
};
using GroupItems = std::array<std::vector<GroupItem>, kGroups.size()>;
const GroupItems& ItemsOfGroups() {
  static const GroupItems items = [] {
    GroupItems all;
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
      for (const MenuEntry& entry : kMenuBar) {
        if (entry.item && entry.parent == kGroups[i].submenu) {
          all[i].push_back({entry.item, MarkValue(entry.name)});
        }
      }
    }
    return all;
  }();
  return items;
}

bool IsPictureName(const std::string& picture) {
  return picture.empty() || IsCardBack(picture) || CardIdOf(picture) != kNoCard;
}

}  // namespace

std::string ScriptLine(const Event& event) {
  auto text = [&](std::string_view word, std::string_view head) {
    if (event.text.find('\n') != std::string_view::npos ||
        (!event.text.empty() && event.text.back() == '\r')) {
      throw std::invalid_argument("a script line cannot carry this text");
    }
    std::string line(word);
    if (!head.empty()) line.append(" ").append(head);
    if (!event.text.empty()) line.append(" ").append(event.text);
    return line;
  };
  auto word = [&](std::string_view w) { return std::string(w) + " " + std::string(event.target); };
  switch (event.verb) {
    case Verb::kStore:
      return text("store", event.target);
    case Verb::kReply:
      return text("reply", "");
    case Verb::kAnswer:
      return word("answer");
    case Verb::kStart:
      return "start";
    case Verb::kClick:
      return word("click");
    case Verb::kHover:
      return word("hover");
    case Verb::kMenu:
      return word("menu");
    case Verb::kTick:
      return word("tick");
  }
  return {};
}

CheckedGame::CheckedGame(std::uint64_t seed) : platform_(seed) {
  game_.UstaSearch = kSoakUstaSearch;
}

std::optional<std::string> CheckedGame::Apply(const Event& event) {
  failure_.clear();
  expectedSounds_.clear();
  expectedDialogs_ = 0;
  switch (event.verb) {
    case Verb::kStore:
      platform_.store.Write(kStoreApp, kStoreSection, event.target, event.text);
      // The store now holds what the game did not write.
      std::erase_if(written_, [&](const OptionGroup* o) { return o->key == event.target; });
      return {};
    case Verb::kReply:
      platform_.dialogs.replies.emplace_back(event.text);
      return {};
    case Verb::kAnswer:
      platform_.dialogs.answers.push_back(event.target == "yes");
      return {};
    case Verb::kStart: {
      if (loaded_) return std::string("the window is loaded twice");
      loaded_ = true;
      Before before;
      try {
        Form_Load(game_);
      } catch (const std::exception& e) {
        return std::string("start-up threw: ") + e.what();
      }
      NewGame();
      StartHand();
      Check(EventKind::kHover, "", before);  // the checks that follow every event
      if (failure_.empty()) return {};
      return failure_;
    }
    case Verb::kClick:
      return Deliver(EventKind::kClick, event.target);
    case Verb::kHover:
      return Deliver(EventKind::kHover, event.target);
    case Verb::kMenu:
      return Deliver(EventKind::kMenu, event.target);
    case Verb::kTick:
      return Deliver(EventKind::kTick, event.target);
  }
  return {};
}

CheckedGame::Whole CheckedGame::Copy() const {
  return {game_,
          game_,
          platform_.sound.played.size(),
          platform_.dialogs.shown.size(),
          platform_.dialogs.replies.size(),
          platform_.dialogs.answers.size()};
}

std::optional<std::string> CheckedGame::Deliver(EventKind kind, std::string_view target) {
  if (!loaded_) return {};  // tesva-headless refuses events before start
  auto refusal = EventRefusal(game_, kind, target);
  const bool newGame = kind == EventKind::kMenu && target == "mnuYeni";
  // A refused event, and a new game answered No, leave everything as it was.
  std::optional<Whole> unchanged;
  if (refusal) {
    unchanged = Copy();
    ++refused_;
  }
  Before before;
  if (!refusal) {
    Remember(before, kind, target);
    if (newGame && before.handNo != 0 && !before.answer) {
      unchanged = Copy();
      unchanged->dialogs += 1;
      if (unchanged->answers > 0) unchanged->answers -= 1;
    }
  }
  try {
    // Refused or not, exactly as EventRefusal said: the game has not changed since.
    DeliverEvent(game_, kind, target);
  } catch (const std::exception& e) {
    return std::string("the event threw: ") + e.what();
  } catch (...) {
    return std::string("the event threw");
  }
  if (unchanged) {
    if (!(Copy() == *unchanged)) {
      return refusal ? "a refused event changed the game (" + *refusal + ")"
                     : std::string("a new game answered No changed the game");
    }
    dialogsSeen_ = platform_.dialogs.shown.size();  // the question asked
    return {};
  }
  Follow(kind, target, before);
  Check(kind, target, before);
  if (failure_.empty()) return {};
  return failure_;
}

void CheckedGame::Remember(Before& before, EventKind kind, std::string_view target) {
  const Game& g = game_;
  for (int i = 0; i < kHandSize; ++i) before.hand[i] = g.Player1_Hand(i + 1);
  before.computerHand = g.List2.items;
  before.handNo = g.HandNo;
  before.handsPerGame = g.HandsPerGame;
  before.deckPos = g.DeckPos;
  before.timer2Ticks = g.Timer2Ticks;
  before.sounds = g.mnuSesler.checked;
  before.watchMode = WatchModeOn(g);
  const auto& dialogs = platform_.dialogs;
  before.answer = !dialogs.answers.empty() && dialogs.answers.front();
  bool asks = (kind == EventKind::kClick && target.ends_with("_Name")) ||
              (kind == EventKind::kMenu && target == "mnuElSayisi");
  if (asks && !dialogs.replies.empty()) before.reply = dialogs.replies.front();
  if (asks) {
    before.humanName = platform_.store.Read(kStoreApp, kStoreSection, kKeyHumanName);
    before.computerName = platform_.store.Read(kStoreApp, kStoreSection, kKeyComputerName);
  }
}

// --- The shadow --------------------------------------------------------------

void CheckedGame::NewGame() {
  shadow_.score = {};
  shadow_.dealer.clear();
  lastScore_ = {};
}

void CheckedGame::StartHand() {
  const Game& g = game_;
  auto& s = shadow_;
  if (!Expect(IsFullDeck(g.List1.items), "a hand starts with a deck of the 52 cards")) return;
  s.onTable = true;
  s.deck = g.List1.items;
  s.stillToDeal[kDeckSize] = 0;
  for (int k = kDeckSize - 1; k >= 0; --k) {
    s.stillToDeal[k] = s.stillToDeal[k + 1] | Bit(CardIdOf(s.deck[k]));
  }
  s.floor.clear();
  for (int k = 0; k < kFloorCards; ++k) s.floor.push_back(CardIdOf(s.deck[k]));
  s.top = s.base = s.floor.front();
  s.floorPicture = kBackShown;
  s.piles = {};
  s.lastCapture = {kNoCard, kNoCard};
  s.settled = false;
  s.handStartScore = s.score;
  // The computer deals the first hand of a game, then the dealer alternates.
  std::string_view dealer = s.dealer.empty() || s.dealer == kHuman ? kComputer : kHuman;
  Expect(g.Dealer == dealer, "the computer deals the first hand and then the dealer alternates");
  s.dealer = g.Dealer;
  CheckDeal(kFloorCards);
  CheckTurnNamed(s.dealer == kHuman ? g.Player2_Name : g.Player1_Name);
}

void CheckedGame::CheckDeal(int from) {
  const Game& g = game_;
  const auto& deck = shadow_.deck;
  // The player who did not deal gets the first four cards and leads.
  bool humanDealt = shadow_.dealer == kHuman;
  int humanFrom = humanDealt ? from + kHandSize : from;
  int computerFrom = humanDealt ? from : from + kHandSize;
  bool dealt = g.DeckPos == from + kDealSize;
  for (int i = 0; i < kHandSize; ++i) {
    dealt = dealt && g.Player1_Hand(i + 1) == deck[humanFrom + i];
  }
  dealt = dealt &&
          std::equal(g.List2.items.begin(), g.List2.items.end(), deck.begin() + computerFrom,
                     deck.begin() + computerFrom + kHandSize) &&
          g.List2.items.size() == kHandSize;
  Expect(
      dealt,
      "a deal gives the next four cards to the player who did not deal, then four to the dealer");
  Expect(g.Timer1.enabled == humanDealt, "after a deal the player who did not deal moves first");
}

void CheckedGame::CheckTurnNamed(const Label& nameLabel) {
  const auto& status = game_.Label1.caption;
  const auto& name = nameLabel.caption;
  constexpr std::string_view kPlays = " oynuyor...";
  Expect(status.size() == 1 + name.size() + kPlays.size() && status.starts_with(' ') &&
             status.compare(1, name.size(), name) == 0 && status.ends_with(kPlays),
         "the status line names the player to move");
}

void CheckedGame::Follow(EventKind kind, std::string_view target, const Before& before) {
  switch (kind) {
    case EventKind::kClick:
      if (auto index = HandCardIndex(target)) {
        Play(kHumanPlayer, CardIdOf(before.hand[*index - 1]), before);
      } else if (target != "Command1") {
        ++expectedDialogs_;  // the name box
      }
      break;
    case EventKind::kTick:
      if (target == "Timer1") {
        ComputerMove(before);
      } else if ((before.timer2Ticks + 1) % 3 == 2) {  // the pause is over
        if (before.handNo >= before.handsPerGame) {
          EndGame(before);
        } else {
          Expect(game_.HandNo == before.handNo + 1, "the pause ends in the next hand");
          StartHand();
        }
      }
      break;
    case EventKind::kMenu:
      if (target == "mnuYeni") {
        if (before.handNo != 0) ++expectedDialogs_;  // a game still running asks first
        if (before.handNo == 0 || before.answer) {
          NewGame();
          Expect(game_.HandNo == 1, "a new game starts with hand 1");
          StartHand();
        }
      }
      if (target == "mnuElSayisi") ++expectedDialogs_;
      if (auto option = WrittenOption(target);
          option && std::ranges::find(written_, option) == written_.end()) {
        written_.push_back(option);
      }
      break;
    case EventKind::kHover:
      break;
  }
}

void CheckedGame::ComputerMove(const Before& before) {
  const auto& was = before.computerHand;
  if (was.empty()) return;  // nothing to play: the tick only hands the turn back
  // The card that left the hand: the one missing now, or its last card when
  // the move emptied both hands and a deal followed.
  int card = CardIdOf(was.front());
  if (was.size() > 1) {
    const auto& now = game_.List2.items;
    if (!Expect(now.size() + 1 == was.size(), "the computer plays exactly one card")) return;
    auto [left, rest] = std::mismatch(now.begin(), now.end(), was.begin());
    card = CardIdOf(*rest);
    Expect(std::equal(left, now.end(), rest + 1), "the computer's other cards keep their order");
  }
  // Both levels capture alike: the first jack or card of the top card's rank.
  if ((game_.Level == kAmateur || game_.Level == kProfessional) && !shadow_.floor.empty()) {
    auto takes = std::find_if(was.begin(), was.end(), [&](const std::string& c) {
      return IsJack(c) || RankOf(CardIdOf(c)) == RankOf(shadow_.top);
    });
    if (takes != was.end()) {
      Expect(*takes == Code(card),
             "the computer captures with its first jack or card of the top card's rank");
    }
  }
  Play(kComputerPlayer, card, before);
}

void CheckedGame::Play(int player, int card, const Before& before) {
  auto& s = shadow_;
  if (!Expect(card != kNoCard && s.onTable && !s.settled, "a card is played during a hand")) return;
  // A jack takes the pile, and so does a card of the top card's rank; on an
  // empty floor nothing is taken.
  bool takes = !s.floor.empty() && (RankOf(card) == kJack || RankOf(card) == RankOf(s.top));
  Sound sound = Sound::kCard;
  if (takes) {
    // A card of the same rank on a lone card is a tesva, worth its fixed
    // points instead of the cards' points.
    bool tesva = s.floor.size() == 1 && RankOf(card) == RankOf(s.top);
    int points = PointValue(Code(card));
    for (int c : s.floor) points += PointValue(Code(c));
    s.score[player] += tesva ? TesvaPoints(RankText(Code(s.top))) : points;
    if (tesva) sound = Sound::kTesva;
    for (int c : s.floor) s.piles[player] |= Bit(c);
    s.piles[player] |= Bit(card);
    s.floor.clear();
    s.top = s.base = kNoCard;
    s.floorPicture = kNoCard;
    s.lastCapture[player] = card;
  } else {
    s.floor.push_back(card);
    s.top = s.floorPicture = card;
  }
  if (before.sounds) expectedSounds_.push_back(sound);

  int humanLeft =
      static_cast<int>(std::ranges::count_if(before.hand, [](auto& c) { return !c.empty(); }));
  int computerLeft = static_cast<int>(before.computerHand.size());
  (player == kHumanPlayer ? humanLeft : computerLeft) -= 1;
  if (humanLeft == 0 && computerLeft == 0) DealOrSettle(before);
  if (!s.settled) CheckTurnNamed(player == kHumanPlayer ? game_.Player2_Name : game_.Player1_Name);
}

void CheckedGame::DealOrSettle(const Before& before) {
  auto& s = shadow_;
  if (before.deckPos < kDeckSize) return CheckDeal(before.deckPos);
  // The deck is exhausted: 3 points for the most cards taken; the cards
  // left on the floor go to nobody.
  int human = std::popcount(s.piles[kHumanPlayer]);
  int computer = std::popcount(s.piles[kComputerPlayer]);
  if (human > computer) s.score[kHumanPlayer] += kMajorityPoints;
  if (human < computer) s.score[kComputerPlayer] += kMajorityPoints;
  s.settled = true;
  Expect(game_.Timer2.enabled && game_.Label1.caption.starts_with(" El bitti. --- "),
         "a hand played out is settled and the pause begins");
  CheckSummary();
}

// The breakdown the table shows at a hand's end adds up to what each
// player scored in the hand, and accounts for all 52 cards.
void CheckedGame::CheckSummary() {
  const auto& s = shadow_;
  HandSummary summary = SummariseHand(game_);
  Expect(summary.settled, "the breakdown sees the hand settled");
  Expect(summary.human.handPoints == s.score[kHumanPlayer] - s.handStartScore[kHumanPlayer] &&
             summary.computer.handPoints ==
                 s.score[kComputerPlayer] - s.handStartScore[kComputerPlayer],
         "the hand's breakdown adds up to the change of both scores");
  Expect(summary.human.cardsTaken == std::popcount(s.piles[kHumanPlayer]) &&
             summary.computer.cardsTaken == std::popcount(s.piles[kComputerPlayer]) &&
             summary.floor.size() == s.floor.size(),
         "the hand's breakdown counts the cards each side took and the floor left over");
}

void CheckedGame::EndGame(const Before& before) {
  const Game& g = game_;
  auto& s = shadow_;
  Expect(g.HandNo == 0 && g.Label1.caption.starts_with(" Oyun bitti. --- "),
         "the pause after the last hand ends the game");
  if (before.sounds) {
    auto [human, computer] = std::pair(s.score[kHumanPlayer], s.score[kComputerPlayer]);
    expectedSounds_.push_back(human > computer   ? Sound::kLaugh
                              : human < computer ? Sound::kLose
                                                 : Sound::kWith);
  }
  s.onTable = false;
  s.floor.clear();
  s.top = s.base = s.floorPicture = kNoCard;
  s.piles = {};
  s.lastCapture = {kNoCard, kNoCard};
  ++gamesEnded_;
}

// --- The invariants ----------------------------------------------------------

bool CheckedGame::Expect(bool holds, std::string_view what) {
  if (!holds && failure_.empty()) failure_ = what;
  return holds;
}

void CheckedGame::Check(EventKind kind, std::string_view target, const Before& before) {
  const Game& g = game_;
  CheckTable();
  CheckMenus(kind == EventKind::kMenu);
  CheckHover();
  if (shadow_.onTable) CheckHand();
  CheckSoundsAndDialogs();

  std::array<std::int64_t, 2> score{g.Player1_Score, g.Player2_Score};
  Expect(score[kHumanPlayer] >= lastScore_[kHumanPlayer] &&
             score[kComputerPlayer] >= lastScore_[kComputerPlayer],
         "a score never decreases within a game");
  Expect(score == shadow_.score, "the scores are the points the rules give");
  lastScore_ = score;

  if (kind == EventKind::kClick && target.ends_with("_Name")) {
    // A name box answered with a text stores it (cut to what a name may
    // hold); an empty answer keeps the name. The label shows the stored name.
    bool human = target == "Player1_Name";
    auto key = human ? kKeyHumanName : kKeyComputerName;
    auto stored = platform_.store.Read(kStoreApp, kStoreSection, key);
    const auto& was = human ? before.humanName : before.computerName;
    if (before.reply.empty()) {
      Expect(stored == was && WatchModeOn(g) == before.watchMode, "an empty name changes nothing");
    } else {
      Expect(!stored.empty() && before.reply.starts_with(stored), "a name given is stored");
      if (human)
        Expect(WatchModeOn(g) == (stored == kWatchModeName), "only the watch name watches");
    }
    const Label& label = human ? g.Player1_Name : g.Player2_Name;
    Expect(label.caption == NameCaption(stored, human ? g.Player1_Score : g.Player2_Score),
           "a name label shows the stored name and the total");
  }
}

void CheckedGame::CheckTable() {
  const Game& g = game_;
  bool named = IsPictureName(g.Deste.picture) && IsPictureName(g.Player1_Deste.picture) &&
               IsPictureName(g.Player2_Deste.picture) && IsPictureName(g.OrtadakiKartlar.picture) &&
               IsPictureName(g.EnAltKart.picture);
  for (int i = 1; i <= kHandSize; ++i) {
    named = named && IsPictureName(g.Player1_Kart(i).picture) &&
            IsPictureName(g.Player2_Kart(i).picture);
  }
  Expect(named, "a picture names a card, a card back or nothing");
  Expect(IsCardBack(g.CardBack) && g.Deste.picture == g.CardBack, "the deck shows the card back");

  // The turn: the human's cards can be clicked exactly when it is the
  // human's move, and each shows the card in its slot.
  bool humanToMove = !g.Picture1Visible && !g.Timer1.enabled;
  int humanCards = 0;
  for (int i = 1; i <= kHandSize; ++i) {
    const auto& slot = g.Player1_Hand(i);
    humanCards += !slot.empty();
    Expect(g.Player1_Kart(i).picture == slot && g.Player1_DealtHand[i - 1] == slot,
           "a hand card shows the card of its slot");
    Expect(g.Player1_Kart(i).enabled == (humanToMove && !slot.empty()),
           "the human's cards can be clicked exactly on the human's move");
    Expect(g.Player2_Kart(i).picture == (i <= g.Player2_CardsLeft ? g.CardBack : std::string()),
           "the computer's pictures show one back for each card it holds, from the left");
  }
  Expect(g.Player1_CardsLeft == humanCards &&
             g.Player2_CardsLeft == static_cast<int>(g.List2.items.size()),
         "the card counts are those of the hands");
  Expect(!(g.Timer1.enabled && g.Timer2.enabled),
         "the computer never moves during the end-of-hand pause");
  for (int player : {kHumanPlayer, kComputerPlayer}) {
    const auto& pile = (player == kHumanPlayer ? g.Player1_Deste : g.Player2_Deste).picture;
    Expect(pile == g.CardBack || CardIdOf(pile) == shadow_.lastCapture[player],
           "a captured pile shows the back or the last capturing card");
  }

  // The rules panel disables the commands and the names while it is open.
  bool open = g.Picture1Visible;
  Expect(g.mnuYeni.enabled != open && g.mnuSecenek.enabled != open && g.mnuHelp.enabled != open &&
             g.mnuCikis.enabled != open && g.Player1_Name.enabled != open &&
             g.Player2_Name.enabled != open,
         "the commands and the names are disabled exactly while the rules panel is open");
  Expect(
      std::ranges::all_of(g.Cikanlar, [&](const Label& l) { return l.visible == g.List2.visible; }),
      "the watch mode shows the tracker and the computer's hand together");

  Expect((g.HandNo != 0) == shadow_.onTable, "a game runs until its last hand ends");
  if (g.HandNo == 0) {
    Expect(g.List1.items.empty() && !g.Timer1.enabled && !g.Timer2.enabled &&
               g.Label7.caption.empty() && g.OrtadakiKartlar.picture.empty() &&
               g.EnAltKart.picture.empty(),
           "a finished game leaves an empty table");
  }
}

void CheckedGame::CheckHand() {
  const Game& g = game_;
  const auto& s = shadow_;
  if (!Expect(g.List1.items == s.deck, "the deck stays as laid out for the whole hand")) return;
  int deckPos = g.DeckPos;
  if (!Expect(deckPos >= kFloorCards + kDealSize && deckPos <= kDeckSize &&
                  (deckPos - kFloorCards) % kDealSize == 0,
              "the deck is dealt eight cards at a time")) {
    return;
  }

  // Each of the 52 cards is in exactly one place: still to deal, in a hand,
  // on the floor or in a captured pile.
  std::uint64_t seen = s.stillToDeal[deckPos];
  int places = kDeckSize - deckPos;
  auto place = [&](int card) {
    if (card == kNoCard) return;
    seen |= Bit(card);
    ++places;
  };
  for (const auto& card : g.Player1_Hand) {
    if (!card.empty()) place(CardIdOf(card));
  }
  for (const auto& card : g.List2.items) place(CardIdOf(card));
  for (int card : s.floor) place(card);
  for (auto pile : s.piles) {
    seen |= pile;
    places += std::popcount(pile);
  }
  Expect(seen == kAllCards && places == kDeckSize, "each of the 52 cards is in exactly one place");

  int floorPoints = 0;
  for (int card : s.floor) floorPoints += PointValue(Code(card));
  Expect(g.FloorCount == static_cast<int>(s.floor.size()) && g.FloorPoints == floorPoints,
         "the floor holds the cards laid on it since the last capture, and their points");
  Expect(g.TopCard == Code(s.top), "the top card is the last card laid, or the base card");
  Expect(g.BaseCard == Code(s.base) && g.EnAltKart.picture == g.BaseCard &&
             g.Label2.visible == (s.base != kNoCard),
         "the base card shows until the first capture of the hand");
  Expect(
      g.OrtadakiKartlar.picture ==
          (s.floorPicture == kBackShown ? g.CardBack : Code(s.floorPicture)),
      "the floor shows the face-down cards, then the last card laid, and nothing after a capture");
  int humanTaken = s.settled ? 0 : std::popcount(s.piles[kHumanPlayer]);
  int computerTaken = s.settled ? 0 : std::popcount(s.piles[kComputerPlayer]);
  Expect(g.Player1_CardsTaken == humanTaken && g.Player2_CardsTaken == computerTaken,
         "the cards taken are counted until the hand is settled");

  // The tracker counts the four floor cards and every card played.
  std::array<int, kRanks + 1> seenOfRank{};
  std::uint64_t shown = s.piles[kHumanPlayer] | s.piles[kComputerPlayer];
  for (int card : s.floor) shown |= Bit(card);
  for (int card = 0; card < kDeckSize; ++card) seenOfRank[RankOf(card)] += (shown & Bit(card)) != 0;
  bool counted = true;
  for (int rank = 1; rank <= kRanks; ++rank) {
    char digits[4];
    auto end = std::to_chars(digits, digits + sizeof digits, seenOfRank[rank]).ptr;
    counted = counted && g.Cikanlar(rank).caption == std::string_view(digits, end - digits);
  }
  Expect(counted, "the tracker counts the floor cards and every card played, by rank");
  Expect(g.Label8.caption == DeckCountText(deckPos) &&
             g.Label7.caption == std::to_string(g.HandNo) + ". El oynanıyor...",
         "the labels show the cards left in the deck and the hand number");
}

void CheckedGame::CheckMenus(bool command) {
  const Game& g = game_;
  auto written = [&](const OptionGroup& option) {
    return std::ranges::find(written_, &option) != written_.end();
  };
  const auto& items = ItemsOfGroups();
  for (std::size_t i = 0; i < kGroups.size(); ++i) {
    auto value = kGroups[i].value(g);
    int checked = 0;
    bool known = false;
    bool agree = true;
    for (const auto& [item, mark] : items[i]) {
      bool on = (g.*item).checked;
      checked += on;
      known = known || mark == value;
      agree = agree && on == (mark == value);
    }
    Expect(checked == 1, "exactly one item of each check-mark group is checked");
    if (kGroups[i].marksFollowValue || written(kGroups[i])) {
      Expect(known && agree, "the checked item is the option in use");
    }
  }
  // Only commands write options: the store is read after them.
  if (command) {
    for (const OptionGroup* option : written_) {
      Expect(platform_.store.Read(kStoreApp, kStoreSection, option->key) == option->value(g),
             "a command stores the option it sets");
    }
  }
  if (written(kSingles[0])) {
    Expect(g.mnuElSayisi.caption == "El sayısı     (" + std::to_string(g.HandsPerGame) + ")",
           "the hands item shows the hands per game");
  }
}

void CheckedGame::CheckHover() {
  const Game& g = game_;
  auto order = g.ZOrder;
  std::ranges::sort(order);
  Expect(order == std::array<int, kHandSize>{1, 2, 3, 4}, "the hand cards are drawn each once");
  if (!g.HoverActive) {
    Expect(g.ZOrder == std::array<int, kHandSize>{1, 2, 3, 4} && !g.Shape1.visible,
           "off the cards, card 4 lies in front and no frame shows");
  } else if (g.HoverIndex != 0) {
    Expect(g.HoverIndex >= 1 && g.HoverIndex <= kHandSize && g.ZOrder.back() == g.HoverIndex,
           "the card under the mouse lies in front");
  }
  if (g.Shape1.visible) {
    Expect(g.HoverActive && g.HoverIndex >= 1 && g.HoverIndex <= kHandSize &&
               g.Shape1.left == kHumanCardLeftOf(g.HoverIndex) && g.Shape1.top == kHumanCardTop,
           "the frame stands at the card under the mouse");
  }
}

void CheckedGame::CheckSoundsAndDialogs() {
  const auto& played = platform_.sound.played;
  bool same = played.size() - soundsSeen_ == expectedSounds_.size();
  for (std::size_t i = 0; same && i < expectedSounds_.size(); ++i) {
    same =
        played[soundsSeen_ + i] == game_.soundPaths[static_cast<std::size_t>(expectedSounds_[i])];
  }
  Expect(same, "a sound plays for every card played and at the end of a game, while sounds are on");
  soundsSeen_ = played.size();
  const auto& shown = platform_.dialogs.shown;
  Expect(static_cast<int>(shown.size() - dialogsSeen_) == expectedDialogs_,
         "a dialog opens for a name, the hands per game and a new game while one runs");
  dialogsSeen_ = shown.size();
}

}  // namespace tesva::soak
