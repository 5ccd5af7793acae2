// The rules a kept game must keep before any of it reaches a game. They
// are the rules the game itself keeps at the end of every event: a kept game
// that breaks one was not written by this game, or was damaged since.
#include <algorithm>
#include <array>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "record/json_reader.h"
#include "record/kept_game.h"
#include "shell/main_window.h"

namespace tesva::record {
namespace {

// Collects the first broken rule.
struct Rules {
  std::string broken;
  bool operator()(bool holds, std::string_view what) {
    if (!holds && broken.empty()) broken = what;
    return holds;
  }
};

bool IsPictureName(std::string_view name) {
  return name.empty() || IsCardCode(name) || IsCardBack(name);
}

// "Oyuncu (12)": a name of at most kMaxNameLength characters and a total.
bool IsNameCaption(std::string_view caption) {
  auto open = caption.rfind(" (");
  if (open == std::string_view::npos || caption.back() != ')') return false;
  auto digits = caption.substr(open + 2, caption.size() - open - 3);
  if (digits.empty() || digits.size() > 10) return false;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  return CharacterCount(caption.substr(0, open)) <= static_cast<std::size_t>(kMaxNameLength);
}

bool AllTextsAreUtf8(const KeptGame& k) {
  const Form& f = k.form;
  std::vector<std::string_view> texts = {
      k.state.Dealer,        k.state.TopCard,       k.state.BaseCard, k.state.Level,
      k.state.CardBack,      f.mnuElSayisi.caption, k.seen.baseCard,  f.Label1.caption,
      f.Label2.caption,      f.Label7.caption,      f.Label8.caption, f.Player1_Name.caption,
      f.Player2_Name.caption};
  for (const auto* list : {&f.List1.items, &f.List2.items}) {
    texts.insert(texts.end(), list->begin(), list->end());
  }
  for (const auto& c : f.Cikanlar) texts.push_back(c.caption);
  for (const auto& p : k.seen.plays) texts.push_back(p.card);
  return std::all_of(texts.begin(), texts.end(), IsValidUtf8);
}

// Exactly one item of a check-mark group is checked.
int Checked(const Form& f, std::initializer_list<MenuItem Form::*> group) {
  return static_cast<int>(
      std::count_if(group.begin(), group.end(), [&](auto item) { return (f.*item).checked; }));
}

void CheckOptions(Rules& rule, const KeptGame& k) {
  const GameState& s = k.state;
  const Form& f = k.form;
  rule(s.Level == kAmateur || s.Level == kProfessional || s.Level == kMaster, "unknown level");
  rule(IsCardBack(s.CardBack), "unknown card back");
  rule(std::equal(s.PointCards.begin(), s.PointCards.end(), kPointCards.begin()),
       "the point table is not the game's");
  rule(Checked(f, {&Form::mnuAmator, &Form::mnuPro, &Form::mnuUsta}) == 1 &&
           f.mnuAmator.checked == (s.Level == kAmateur) &&
           f.mnuPro.checked == (s.Level == kProfessional),
       "the level's check marks do not match the level");
  rule(Checked(f, {&Form::mnuFirst, &Form::mnuSecond, &Form::mnuTherd, &Form::mnuLast}) == 1,
       "the thinking delay's check marks");
  rule(Checked(f, {&Form::mnuYesil, &Form::mnuLacivert, &Form::mnuSiyah}) == 1 &&
           (f.mnuYesil.checked      ? kGreen
            : f.mnuLacivert.checked ? kNavy
                                    : kBlack) == f.BackColor,
       "the background's check marks do not match the colour");
  rule(Checked(f, {&Form::mnuStandart, &Form::mnuRenkli}) == 1 &&
           f.mnuRenkli.checked == (s.CardBack == kColouredBack),
       "the card back's check marks do not match the back");
  const std::string_view prefix = "El sayısı     (";
  const auto& hands = f.mnuElSayisi.caption;
  rule(CharacterCount(hands) <= kMaxHandsCaptionCharacters && hands.starts_with(prefix) &&
           hands.ends_with(")") &&
           ParseHandCount(
               std::string_view(hands).substr(prefix.size(), hands.size() - prefix.size() - 1)),
       "the hand count's caption");
  rule(f.Timer2.interval == kHandPauseInterval, "the pause's timer interval");
  rule(f.Caption == Form().Caption, "the window's caption");
  // The rules panel disables the commands and the names, nothing else.
  const bool open = f.Picture1Visible;
  for (const MenuEntry& entry : kMenuBar) {
    if (!entry.item) continue;
    bool command = entry.name == "mnuYeni" || entry.name == "mnuSecenek" ||
                   entry.name == "mnuHelp" || entry.name == "mnuCikis";
    rule((f.*entry.item).enabled == (command ? !open : true), "a menu item's enabled state");
  }
  rule(f.Player1_Name.enabled == !open && f.Player2_Name.enabled == !open,
       "the names' enabled state");
}

void CheckElements(Rules& rule, const KeptGame& k) {
  const GameState& s = k.state;
  const Form& f = k.form;
  for (const auto& p : f.Player1_Kart) rule(IsPictureName(p.picture), "a picture's name");
  for (const auto& p : f.Player2_Kart) {
    rule(p.picture.empty() || IsCardBack(p.picture), "a computer card shows its face");
  }
  for (const Picture* p :
       {&f.Deste, &f.Player1_Deste, &f.Player2_Deste, &f.OrtadakiKartlar, &f.EnAltKart}) {
    rule(IsPictureName(p->picture), "a picture's name");
  }
  rule(IsNameCaption(f.Player1_Name.caption) && IsNameCaption(f.Player2_Name.caption),
       "a name is too long");
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8}) {
    rule(CharacterCount(l->caption) <= kMaxCaptionCharacters, "a caption is too long");
  }
  for (const auto& c : f.Cikanlar) rule(c.caption.size() <= 2, "a caption is too long");
  rule(f.Label7.caption == std::to_string(s.HandNo) + ". El oynanıyor...", "the hand number");
  rule(f.Label8.caption == DeckCountText(s.DeckPos), "the deck count");
  rule(f.Label2.caption == "Taban" && f.Label2.visible == !s.BaseCard.empty(), "the base caption");
  rule(s.HoverIndex >= 0 && s.HoverIndex <= kHandSize, "the hover index");
  auto order = f.ZOrder;
  std::sort(order.begin(), order.end());
  rule(order == std::array<int, kHandSize>{1, 2, 3, 4}, "the drawing order of the hand");
  bool framePlace = (f.Shape1.left == Form().Shape1.left && f.Shape1.top == Form().Shape1.top);
  for (int i = 1; i <= kHandSize; ++i) {
    framePlace |= f.Shape1.left == kHumanCardLeftOf(i) && f.Shape1.top == kHumanCardTop;
  }
  rule(framePlace, "the hover frame's place");
  rule(k.timer2Ticks >= 0 && k.timer2Ticks <= 2, "the pause's tick counter");
  const bool watch = f.List2.visible;
  for (const auto& c : f.Cikanlar) rule(c.visible == watch, "the tracker's visibility");
  rule(!f.List1.visible, "the deck list is shown");
}

// The cards: the deck, who holds what, the plays of the hand and the floor
// they leave, the tracker's counts.
void CheckCards(Rules& rule, const KeptGame& k) {
  const GameState& s = k.state;
  const Form& f = k.form;
  const auto& deck = f.List1.items;
  if (!rule(IsFullDeck(deck), "the deck does not hold each of the 52 cards once")) return;
  if (!rule(s.DeckPos >= kFloorCards + kDealSize && s.DeckPos <= kDeckSize &&
                (s.DeckPos - kFloorCards) % kDealSize == 0,
            "the deck position")) {
    return;
  }
  rule(s.Dealer == kHuman || s.Dealer == kComputer, "unknown dealer");
  // The latest deal: the player who did not deal got its first four cards.
  const int dealt = s.DeckPos - kDealSize;
  const int humanFrom = s.Dealer == kComputer ? dealt : dealt + kHandSize;
  const int computerFrom = s.Dealer == kComputer ? dealt + kHandSize : dealt;
  std::array<int, kDeckSize> place{};  // 0 still to deal or unplaced, 1 held, 2 played
  int held = 0;
  for (int slot = 1; slot <= kHandSize; ++slot) {
    const auto& card = s.Player1_Hand(slot);
    rule(s.Player1_DealtHand[slot - 1] == card, "the dealt hand mirrors the hand");
    rule(f.Player1_Kart(slot).picture == card, "a hand card's picture");
    if (card.empty()) continue;
    ++held;
    // Stop here: a card that is not the one dealt may be no card at all.
    if (!rule(card == deck[humanFrom + slot - 1], "a hand card is not the one dealt there")) return;
    place[CardIdOf(card)] = 1;
  }
  rule(s.Player1_CardsLeft == held, "the human's card count");
  // The computer's hand keeps the order it was dealt in.
  std::size_t next = 0;
  for (const auto& card : f.List2.items) {
    while (next < kHandSize && deck[computerFrom + next] != card) ++next;
    if (!rule(next < kHandSize, "a computer card is not one dealt to it")) return;
    place[CardIdOf(card)] = 1;
    ++next;
  }
  rule(s.Player2_CardsLeft == static_cast<int>(f.List2.items.size()), "the computer's card count");
  for (int i = 1; i <= kHandSize; ++i) {
    bool back = i <= s.Player2_CardsLeft;
    rule(back == !f.Player2_Kart(i).picture.empty(), "the computer's cards shown");
  }

  // The plays, replayed on the floor from the hand's start.
  rule(k.seen.baseCard == deck[0], "the base card seen is not the deck's");
  int floorCount = kFloorCards;
  std::string top = deck[0];
  bool baseOnFloor = true;
  int floorPoints = 0;
  for (int i = 0; i < kFloorCards; ++i) floorPoints += PointValue(deck[i]);
  std::array<int, 2> taken{};
  std::array<int, kRanks + 1> counts{};
  for (int i = 0; i < kFloorCards; ++i) ++counts[Rank(deck[i])];
  for (const PublicPlay& play : k.seen.plays) {
    int id = CardIdOf(play.card);
    if (!rule(id >= 0, "a play is not a card")) return;
    auto at = std::find(deck.begin(), deck.end(), play.card) - deck.begin();
    // The first four cards of each deal went to the player who did not deal.
    bool firstOfDeal = (at - kFloorCards) % kDealSize < kHandSize;
    bool dealtToHuman = firstOfDeal == (s.Dealer == kComputer);
    if (!rule(at >= kFloorCards && at < s.DeckPos && place[id] == 0,
              "a card is played twice or before it was dealt")) {
      return;
    }
    rule(dealtToHuman == (play.seat == Seat::kHuman), "a card played by the wrong player");
    place[id] = 2;
    ++counts[Rank(play.card)];
    bool takes = floorCount != 0 && (IsJack(play.card) || RankText(play.card) == RankText(top));
    if (!rule(takes == play.captured, "a play that did not follow the rules")) return;
    if (takes) {
      taken[play.seat == Seat::kHuman ? 0 : 1] += floorCount + 1;
      floorCount = 0;
      floorPoints = 0;
      top.clear();
      baseOnFloor = false;
    } else {
      ++floorCount;
      floorPoints += PointValue(play.card);
      top = play.card;
    }
  }
  for (int i = kFloorCards; i < s.DeckPos; ++i) {
    if (!rule(place[CardIdOf(deck[i])] != 0, "a dealt card is in no place")) return;
  }
  rule(s.FloorCount == floorCount, "the floor count");
  rule(s.FloorPoints == floorPoints, "the floor's points");
  rule(s.TopCard == top, "the top card");
  rule(s.BaseCard == (baseOnFloor ? deck[0] : std::string()), "the base card");
  // Settled: the deck is out, both hands are empty and the counts are reset.
  const bool settled =
      s.DeckPos == kDeckSize && held == 0 && f.List2.items.empty() && f.Timer2.enabled;
  rule(s.Player1_CardsTaken == (settled ? 0 : taken[0]) &&
           s.Player2_CardsTaken == (settled ? 0 : taken[1]),
       "the cards taken this hand");
  for (int rank = 1; rank <= kRanks; ++rank) {
    rule(f.Cikanlar(rank).caption == std::to_string(counts[rank]), "the tracker's counts");
  }
  // Only the human's turn makes its cards clickable.
  for (int slot = 1; slot <= kHandSize; ++slot) {
    bool clickable = !f.Picture1Visible && !f.Timer1.enabled && !s.Player1_Hand(slot).empty();
    rule(f.Player1_Kart(slot).enabled == clickable, "a hand card's enabled state");
  }
}

void CheckTally(Rules& rule, const KeptGame& k) {
  rule(k.tally.handNo == k.state.HandNo, "the tally's hand");
  rule(k.tally.handTesvas == HumanTesvas(k.seen), "the tally's tesvas");
  rule(k.tally.earlierTesvas <= 24 * (k.state.HandNo - 1), "the tally's earlier tesvas");
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  while (i < text.size()) {
    unsigned c = byte(i);
    std::size_t length = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
    if (length == 0 || i + length > text.size()) return false;
    std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
    for (std::size_t n = 1; n < length; ++n) {
      if ((byte(i + n) & 0xC0) != 0x80) return false;
      code = (code << 6) | (byte(i + n) & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string CheckKeptGame(const KeptGame& k) {
  Rules rule;
  if (!rule(AllTextsAreUtf8(k), "a text is not UTF-8")) return rule.broken;
  rule(k.state.HandNo >= 1, "the game is not running");
  rule(k.state.HandsPerGame >= 1 && k.state.HandsPerGame <= 99, "the hands per game");
  rule(k.state.Player1_Score >= 0 && k.state.Player2_Score >= 0, "a negative score");
  CheckOptions(rule, k);
  CheckElements(rule, k);
  CheckCards(rule, k);
  CheckTally(rule, k);
  return rule.broken;
}

}  // namespace tesva::record
