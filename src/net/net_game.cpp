#include "net/net_game.h"

#include <algorithm>
#include <utility>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "net/fair_deal.h"
#include "shell/main_window.h"

namespace tesva::net {

NetGame::NetGame(Role role, Platform services, DealMaker makeDeal)
    : role_(role),
      store_(services.store),
      game_(Platform{store_, services.sound, services.random, services.dialogs, services.host}),
      makeDeal_(std::move(makeDeal)) {
  // The start-up of the ordinary game, without its first hand: that waits
  // for the deal both sides make.
  WriteFirstRunDefaults(game_);
  AyarlariUygula(game_);
  std::copy(kPointCards.begin(), kPointCards.end(), game_.PointCards.begin());
  game_.Deste.picture = game_.CardBack;
  game_.Player1_Deste.picture = game_.CardBack;
  game_.Player2_Deste.picture = game_.CardBack;
  for (auto& card : game_.Player2_Kart) card.picture = game_.CardBack;
  for (auto& card : game_.Player1_Kart) card.enabled = false;
  // Watch mode is off: it would show the tracker, which here counts only
  // what both have seen, and the other hand, which is unknown anyway.
  SetWatchMode(game_, false);
  ourName_ = CutToCharacters(ReadOption(game_, kKeyHumanName), kMaxNameLength);
  if (ourName_.size() > kMaxNameBytes) ourName_ = CutToCharacters(ourName_, 16);
}

void NetGame::Event(std::string text) {
  events_.push_back(std::move(text));
}

std::string NetGame::SeatName(Seat seat) const {
  bool host = (seat == Seat::kHuman) == (role_ == Role::kHost);
  return host ? "host" : "guest";
}

std::string NetGame::Totals() const {
  // The host's total first on both sides, so that both print the same.
  bool host = role_ == Role::kHost;
  return std::to_string(host ? game_.Player1_Score : game_.Player2_Score) + " " +
         std::to_string(host ? game_.Player2_Score : game_.Player1_Score);
}

std::vector<Bytes> NetGame::TakeOutgoing() {
  std::vector<Bytes> out;
  out.swap(outgoing_);
  return out;
}

std::vector<std::string> NetGame::TakeEvents() {
  std::vector<std::string> out;
  out.swap(events_);
  return out;
}

void NetGame::Fail(Failure why) {
  if (phase_ == Phase::kFailed || phase_ == Phase::kOver) return;
  phase_ = Phase::kFailed;
  // The game ends where it stands; nothing more can be played.
  for (auto& card : game_.Player1_Kart) card.enabled = false;
  game_.Timer1.enabled = false;
  game_.Timer2.enabled = false;
  game_.Label1.caption = " " + why.text;
  Event("failed " + std::string(FaultName(why.fault)));
  failure_ = std::move(why);
}

void NetGame::Send(std::uint8_t type, ByteView body) {
  Bytes message;
  ByteWriter write(message);
  write.U8(type);
  write.U16(static_cast<std::uint16_t>(hand_));
  write.U16(static_cast<std::uint16_t>(sent_++));
  write.Put(body);
  sentLog_.push_back(message);
  outgoing_.push_back(std::move(message));
}

namespace {

int HandOf(const Bytes& message) {
  return message[1] << 8 | message[2];
}

int StepOf(const Bytes& message) {
  return message[3] << 8 | message[4];
}

}  // namespace

void NetGame::Pause() {
  paused_ = true;
}

std::pair<int, int> NetGame::HeardPoint() const {
  // The other side's first card, kept during this side's pause, was heard.
  return {hand_, heard_ + (early_ ? 1 : 0)};
}

bool NetGame::ResendFrom(int hand, int heard) {
  if (phase_ == Phase::kOver || phase_ == Phase::kFailed) return false;
  // The other side cannot have heard more than was sent, nor be more than
  // one hand behind: its point must lie within the log.
  int sentThere = static_cast<int>(std::count_if(
      sentLog_.begin(), sentLog_.end(), [hand](const Bytes& m) { return HandOf(m) == hand; }));
  // It is one hand ahead when it has taken this side's Result while this
  // side still waits for its own: nothing of that hand was sent yet.
  bool ahead = phase_ == Phase::kConfirm && hand == hand_ + 1 && heard == 0;
  bool held = hand == hand_ || (hand == hand_ - 1 && hand >= 0) || ahead;
  if (!held || heard < 0 || heard > sentThere) {
    Fail(MakeFailure(Fault::kResume));
    return false;
  }
  paused_ = false;
  for (const Bytes& m : sentLog_) {
    if (HandOf(m) > hand || (HandOf(m) == hand && StepOf(m) >= heard)) outgoing_.push_back(m);
  }
  return true;
}

void NetGame::Begin() {
  if (role_ != Role::kHost || phase_ != Phase::kStart) return;
  Bytes body;
  ByteWriter write(body);
  write.U16(static_cast<std::uint16_t>(game_.HandsPerGame));
  write.Text(ourName_);
  Send(kGameStartMessage, body);
}

void NetGame::LinkEnded(const Failure& why) {
  if (phase_ == Phase::kOver || phase_ == Phase::kFailed) return;
  // Gone before its proof of the hand, or before confirming its result:
  // the hand cannot be checked.
  if (phase_ == Phase::kReveal || phase_ == Phase::kConfirm)
    return Fail(MakeFailure(Fault::kNoReveal));
  // The other side has seen the last hand's end and left: this side's own
  // pause still ends the game as usual.
  if (phase_ == Phase::kPause && game_.HandNo >= game_.HandsPerGame) return;
  Fail(why);
}

void NetGame::Receive(ByteView message) {
  if (phase_ == Phase::kOver || phase_ == Phase::kFailed) return;
  ByteReader read(message);
  std::uint8_t type = 0;
  std::uint16_t hand = 0, step = 0;
  if (!read.U8(type) || !read.U16(hand) || !read.U16(step))
    return Fail(MakeFailure(Fault::kBadMessage));
  if ((type < kGameStartMessage || type > kRevealMessage) && type != kResultMessage)
    return Fail(MakeFailure(Fault::kBadMessage));
  if (hand != hand_) return Fail(MakeFailure(Fault::kWrongHand));
  if (step != heard_) return Fail(MakeFailure(Fault::kUnexpected));
  ++heard_;
  ByteView body = message.subspan(5);
  // Each side's pause at a hand's end runs on its own clock: the leader's
  // first card may come while this side still pauses. It is kept, one
  // message only, and taken when the hand starts here.
  if (phase_ == Phase::kReady && type == kPlayMessage && !early_) {
    --heard_;
    early_.emplace(message.begin(), message.end());
    return;
  }
  bool theirMove = phase_ == Phase::kPlaying && game_.Timer1.enabled && !heldLocal_ && !heldRemote_;
  // Only the one message the game expects now is taken.
  bool expected = false;
  switch (type) {
    case kGameStartMessage:
      expected = phase_ == Phase::kStart && role_ == Role::kGuest;
      break;
    case kJoinMessage:
      expected = phase_ == Phase::kStart && role_ == Role::kHost && sent_ == 1;
      break;
    case kSetupMessage:
      expected = phase_ == Phase::kSetup && deal_ && !deal_->OurSetupTurn();
      break;
    case kSharesMessage:
      expected = phase_ == Phase::kRound;
      break;
    case kPlayMessage:
      if (phase_ == Phase::kPlaying && !theirMove) return Fail(MakeFailure(Fault::kOutOfTurn));
      expected = theirMove;
      break;
    case kRevealMessage:
      expected = phase_ == Phase::kReveal;
      break;
    case kResultMessage:
      expected = phase_ == Phase::kConfirm;
      break;
  }
  if (!expected) return Fail(MakeFailure(Fault::kUnexpected));
  switch (type) {
    case kGameStartMessage:
      return HandleGameStart(body);
    case kJoinMessage:
      return HandleJoin(body);
    case kSetupMessage:
      if (auto bad = deal_->TakeSetup(body)) return Fail(*bad);
      return AdvanceSetup();
    case kSharesMessage: {
      auto positions = DealPositions(roundFrom_, true);
      if (roundFrom_ == kFloorCards) positions.push_back(0);
      if (auto bad = deal_->TakeShares(positions, body)) return Fail(*bad);
      for (int p : positions) {
        if (!IsCardCode(deal_->Card(p)))
          return Fail(MakeFailure(Fault::kDeal, "okunamayan bir kağıt"));
      }
      return FinishRound();
    }
    case kPlayMessage:
      return HandlePlay(body);
    case kRevealMessage:
      return HandleReveal(body);
    case kResultMessage:
      return HandleResult(body);
  }
}

void NetGame::HandleGameStart(ByteView body) {
  ByteReader read(body);
  std::uint16_t hands = 0;
  std::string name;
  if (!read.U16(hands) || !read.Text(kMaxNameBytes, name) || !read.AtEnd() || !IsPlainName(name) ||
      !ParseHandCount(std::to_string(hands))) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  // The number of hands is the host's.
  game_.HandsPerGame = static_cast<std::int16_t>(hands);
  store_.friendName = name;
  game_.Player2_Name.caption = NameCaption(name, 0);
  Bytes reply;
  ByteWriter write(reply);
  write.Text(ourName_);
  Send(kJoinMessage, reply);
  Event("game " + std::to_string(hands) + " hands");
  StartDeal();
}

void NetGame::HandleJoin(ByteView body) {
  ByteReader read(body);
  std::string name;
  if (!read.Text(kMaxNameBytes, name) || !read.AtEnd() || !IsPlainName(name)) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  store_.friendName = name;
  game_.Player2_Name.caption = NameCaption(name, 0);
  Event("game " + std::to_string(game_.HandsPerGame) + " hands");
  StartDeal();
}

bool NetGame::WeLead(int hand) const {
  // The guest deals the first hand and the host leads; then in turn.
  return (hand % 2 == 1) == (role_ == Role::kHost);
}

std::vector<int> NetGame::DealPositions(int from, bool ours) const {
  // The player who did not deal gets the deal's first four cards.
  bool first = ours == WeLead(hand_);
  std::vector<int> positions;
  for (int i = 0; i < kHandSize; ++i) positions.push_back(from + (first ? 0 : kHandSize) + i);
  return positions;
}

void NetGame::StartDeal() {
  ++hand_;
  sent_ = 0;
  heard_ = 0;
  std::erase_if(sentLog_, [this](const Bytes& m) { return HandOf(m) < hand_ - 1; });
  deal_ = makeDeal_(role_, hand_);
  phase_ = Phase::kSetup;
  roundFrom_ = kFloorCards;
  AdvanceSetup();
}

void NetGame::AdvanceSetup() {
  while (!deal_->SetupDone() && deal_->OurSetupTurn()) Send(kSetupMessage, deal_->MakeSetup());
  if (deal_->SetupDone()) StartRound();
}

void NetGame::StartRound() {
  // Both sides let the other read its new cards, and at a hand's first deal
  // the base card too.
  phase_ = Phase::kRound;
  auto positions = DealPositions(roundFrom_, false);
  if (roundFrom_ == kFloorCards) positions.push_back(0);
  Send(kSharesMessage, deal_->MakeShares(positions));
}

void NetGame::FinishRound() {
  if (roundFrom_ == kFloorCards) {
    phase_ = Phase::kReady;
    // The first hand starts at once; a later one at the pause's end.
    if (!game_.Timer2.enabled) {
      StartPlaying();
      TakeEarly();
    }
    return;
  }
  phase_ = Phase::kPlaying;
  game_.List1.items = KnownDeck();
  if (heldLocal_) ApplyLocal(*std::exchange(heldLocal_, std::nullopt));
  if (heldRemote_) ApplyRemote(*std::exchange(heldRemote_, std::nullopt));
}

std::vector<std::string> NetGame::KnownDeck() const {
  std::vector<std::string> deck;
  for (int p = 0; p < kDeckSize; ++p) deck.push_back(deal_->Card(p));
  return deck;
}

void NetGame::StartPlaying() {
  StartHand(game_, KnownDeck(), role_ == Role::kHost ? kComputer : kHuman);
  game_.FloorCount = kFloorCards;
  phase_ = Phase::kPlaying;
  Event("hand " + std::to_string(hand_) + " base " + game_.BaseCard);
  AfterDeal(kFloorCards);
}

void NetGame::TakeEarly() {
  if (!early_ || phase_ != Phase::kPlaying) return;
  Bytes message = std::move(*early_);
  early_.reset();
  Receive(message);
}

void NetGame::TickPause() {
  if (!game_.Timer2.enabled) return;
  bool acts = (game_.Timer2Ticks + 1) % 3 == 2;
  bool last = game_.HandNo >= game_.HandsPerGame;
  // The next hand's deal is made during the pause, and the last hand's
  // result confirmed; a pause that would end before then waits.
  if (acts && phase_ == Phase::kConfirm) return;
  if (acts && !last && phase_ != Phase::kReady) return;
  // The hand starts inside the tick, which then sets the new hand's floor;
  // the other side's first card, if it came early, is played after that.
  PauseTick(game_, [this](Game&) { StartPlaying(); });
  if (acts && last) {
    phase_ = Phase::kOver;
    Event("game over " + Totals());
  }
  if (acts) TakeEarly();
}

void NetGame::EndLastPause() {
  // The pause acts at most three ticks on.
  for (int tick = 0; tick < 3 && phase_ == Phase::kPause && game_.HandNo >= game_.HandsPerGame;
       ++tick) {
    TickPause();
  }
}

void NetGame::AfterDeal(int from) {
  auto ours = DealPositions(from, true);
  std::copy(ours.begin(), ours.end(), ourSlots_.begin());
  theirs_ = DealPositions(from, false);
}

bool NetGame::OurMove() const {
  return phase_ == Phase::kPlaying && !paused_ && !game_.Timer1.enabled && !heldLocal_ &&
         !heldRemote_ && game_.Player1_CardsLeft > 0;
}

bool NetGame::EmptiesBothHands(bool ourMove) const {
  return (ourMove ? game_.Player1_CardsLeft : game_.Player2_CardsLeft) == 1 &&
         (ourMove ? game_.Player2_CardsLeft : game_.Player1_CardsLeft) == 0;
}

bool NetGame::Play(int slot) {
  if (!OurMove() || slot < 1 || slot > kHandSize || !game_.Player1_Kart(slot).enabled) return false;
  int position = ourSlots_[static_cast<std::size_t>(slot - 1)];
  Bytes body;
  ByteWriter write(body);
  write.U8(static_cast<std::uint8_t>(position));
  const int positions[] = {position};
  write.Put(deal_->MakeShares(positions));
  Send(kPlayMessage, body);
  if (!EmptiesBothHands(true)) {
    ApplyLocal(slot);
    return true;
  }
  heldLocal_ = slot;
  if (game_.DeckPos < kDeckSize) {
    roundFrom_ = game_.DeckPos;
    StartRound();
  } else {
    phase_ = Phase::kReveal;
    Send(kRevealMessage, deal_->MakeReveal());
  }
  return true;
}

void NetGame::HandlePlay(ByteView body) {
  std::uint8_t position = 0;
  ByteReader read(body);
  if (!read.U8(position)) return Fail(MakeFailure(Fault::kBadMessage));
  // A card that is not in the other hand's positions is not the other's to play.
  if (std::find(theirs_.begin(), theirs_.end(), position) == theirs_.end()) {
    return Fail(MakeFailure(Fault::kNotHeld));
  }
  const int positions[] = {position};
  if (auto bad = deal_->TakeShares(positions, body.subspan(1))) return Fail(*bad);
  if (!IsCardCode(deal_->Card(position)))
    return Fail(MakeFailure(Fault::kDeal, "okunamayan bir kağıt"));
  if (!EmptiesBothHands(false)) return ApplyRemote(position);
  heldRemote_ = position;
  if (game_.DeckPos < kDeckSize) {
    roundFrom_ = game_.DeckPos;
    StartRound();
  } else {
    phase_ = Phase::kReveal;
    Send(kRevealMessage, deal_->MakeReveal());
  }
}

void NetGame::ApplyLocal(int slot) {
  int before = game_.DeckPos;
  std::string card = game_.Player1_Hand(slot);
  Player1_Kart_Click(game_, slot);
  ourSlots_[static_cast<std::size_t>(slot - 1)] = -1;
  Event("play " + SeatName(Seat::kHuman) + " " + card);
  if (game_.DeckPos > before) AfterDeal(before);
}

void NetGame::ApplyRemote(int position) {
  int before = game_.DeckPos;
  auto at = std::find(theirs_.begin(), theirs_.end(), position);
  auto index = static_cast<std::size_t>(at - theirs_.begin());
  game_.List2.items.at(index) = deal_->Card(position);
  theirs_.erase(at);
  game_.Timer1.enabled = false;  // as the computer's timer does before its move
  std::string card = game_.List2.items[index];
  PlayComputerCard(game_, static_cast<int>(index) + 1);
  Event("play " + SeatName(Seat::kComputer) + " " + card);
  if (game_.DeckPos > before) AfterDeal(before);
}

DealMaker DefaultDealMaker() {
  return [](Role role, int hand) { return std::make_unique<FairDeal>(role, hand); };
}

}  // namespace tesva::net
