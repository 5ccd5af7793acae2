// A new game offered on the link of the one being played: refused, the old
// game plays on exactly as if nothing had been asked; taken up, mid-hand
// with the old game's cards still on their way, both sides play exactly the
// game a fresh link would have given. A finished last hand is counted on
// both sides whoever answered sooner, crossed offers make one game, and
// offer messages out of place close the link.
#include <random>

#include "net_harness.h"

namespace tesva::net::testing {
namespace {

std::vector<std::string> DeckOfHand(std::uint64_t seed, int hand) {
  std::mt19937_64 rng(seed * 100 + static_cast<std::uint64_t>(hand));
  return ShuffledDeck(rng);
}

Pair MakePair(std::uint64_t seed, int hands) {
  Pair pair([seed](int hand) { return DeckOfHand(seed, hand); }, seed, hands);
  for (Side* side : {pair.host.get(), pair.guest.get()}) side->session.SetResumable(true);
  return pair;
}

// Plays up to `moves` cards, ticking both pauses when nobody can move.
int PlayOn(Pair& pair, int moves, std::mt19937_64& rng) {
  auto& host = pair.host->session;
  auto& guest = pair.guest->session;
  int played = 0;
  for (int step = 0; step < 5000 && played < moves; ++step) {
    if (host.game().Over() && guest.game().Over()) break;
    played += pair.Mover() != nullptr;
    EXPECT_TRUE(pair.Step(RandomSlot(rng)));
    if (host.game().failure() || guest.game().failure() || host.link().Ended()) {
      ADD_FAILURE() << "step " << step << ": "
                    << (host.link().ending() ? host.link().ending()->text : "failed");
      break;
    }
  }
  return played;
}

TEST(NewGame, TakenUpMidHandItIsTheGameAFreshLinkGives) {
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Pair pair = MakePair(seed, 2);
    std::mt19937_64 moves(seed);
    ASSERT_EQ(PlayOn(pair, 5 + static_cast<int>(seed), moves), 5 + static_cast<int>(seed));
    // Whoever is to move offers, then plays a card that is still on its way
    // when the other says yes.
    Session* offering = pair.Mover();
    ASSERT_NE(offering, nullptr);
    Session* answering =
        offering == &pair.host->session ? &pair.guest->session : &pair.host->session;
    ASSERT_TRUE(offering->OfferNewGame(pair.now));
    pair.Pump();
    ASSERT_EQ(answering->offer(), Session::Offer::kCame);
    ASSERT_TRUE(offering->Play(FirstEnabled(offering->game()), pair.now));
    answering->AnswerOffer(true, pair.now);
    // What each side has told so far is the old game's.
    pair.host->events.clear();
    pair.guest->events.clear();
    pair.Pump();
    for (Session* side : {offering, answering}) {
      EXPECT_FALSE(side->link().Ended());
      EXPECT_EQ(side->GameNumber(), 2);
      ASSERT_NE(side->PreviousGame(), nullptr);
      EXPECT_FALSE(side->PreviousGame()->Over());  // given up, not finished
      EXPECT_EQ(side->game().game().HandNo, 1);
      EXPECT_EQ(side->game().game().Player1_Score + side->game().game().Player2_Score, 0);
    }
    EXPECT_EQ(offering->TakeAnswer(), std::optional<bool>(true));
    std::mt19937_64 again(seed + 50), fresh(seed + 50);
    PlayOn(pair, 1000, again);
    Pair reference = MakePair(seed, 2);
    PlayOn(reference, 1000, fresh);
    EXPECT_TRUE(pair.host->session.game().Over() && pair.guest->session.game().Over());
    EXPECT_EQ(pair.host->events, reference.host->events);
    EXPECT_EQ(pair.guest->events, reference.guest->events);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(NewGame, AFinishedLastHandCountsOnBothSidesWhoeverAnswersSooner) {
  Pair pair = MakePair(5, 1);
  auto& host = pair.host->session;
  auto& guest = pair.guest->session;
  // Only the host's pause runs: the guest is still in its last pause when
  // the host, its game over, offers the next.
  for (int step = 0; step < 500 && !host.game().Over(); ++step) {
    if (Session* mover = pair.Mover()) {
      EXPECT_TRUE(mover->Play(FirstEnabled(mover->game()), pair.now));
    } else {
      host.TickPause(pair.now);
    }
    pair.Pump();
  }
  ASSERT_TRUE(host.game().Over());
  ASSERT_FALSE(guest.game().Over());
  ASSERT_TRUE(host.OfferNewGame(pair.now));
  pair.Pump();
  guest.AnswerOffer(true, pair.now);
  pair.Pump();
  ASSERT_NE(guest.PreviousGame(), nullptr);
  ASSERT_NE(host.PreviousGame(), nullptr);
  const Game& hostOld = host.PreviousGame()->game();
  const Game& guestOld = guest.PreviousGame()->game();
  EXPECT_TRUE(guest.PreviousGame()->Over());
  EXPECT_EQ(guestOld.HandNo, 0);
  EXPECT_EQ(guestOld.Player1_Score, hostOld.Player2_Score);
  EXPECT_EQ(guestOld.Player2_Score, hostOld.Player1_Score);
  EXPECT_TRUE(guestOld.Label1.caption.starts_with(" Oyun bitti."));
  // The new game has dealt its first hand on both sides, with the host's hands.
  EXPECT_EQ(guest.game().game().HandNo, 1);
  EXPECT_EQ(guest.game().game().HandsPerGame, 1);
  EXPECT_TRUE(host.game().OurMove() || guest.game().OurMove());
}

TEST(NewGame, CrossedOffersMakeOneNewGame) {
  Pair pair = MakePair(7, 2);
  std::mt19937_64 moves(7);
  PlayOn(pair, 3, moves);
  auto& host = pair.host->session;
  auto& guest = pair.guest->session;
  ASSERT_TRUE(host.OfferNewGame(pair.now));
  ASSERT_TRUE(guest.OfferNewGame(pair.now));
  pair.Pump();
  EXPECT_EQ(host.offer(), Session::Offer::kSent);
  EXPECT_EQ(guest.offer(), Session::Offer::kCame);
  guest.AnswerOffer(true, pair.now);
  pair.Pump();
  EXPECT_EQ(host.GameNumber(), 2);
  EXPECT_EQ(guest.GameNumber(), 2);
  EXPECT_EQ(PlayOn(pair, 1000, moves), 96);
  EXPECT_TRUE(host.game().Over() && guest.game().Over());
}

// Four cards played, then the host offers a new game and the guest says
// yes, and the connection is cut: after the host heard the yes and three
// more cards, or with the yes still unsent, lost with the connection.
TEST(NewGame, ACutAfterANewGameIsTakenUpButALostYesEndsTheGame) {
  for (bool lostYes : {false, true}) {
    SCOPED_TRACE(lostYes ? "yes lost" : "yes heard");
    Pair pair = MakePair(9, 2);
    std::mt19937_64 moves(9);
    PlayOn(pair, 4, moves);
    ASSERT_TRUE(pair.host->session.OfferNewGame(pair.now));
    pair.Pump();
    pair.guest->session.AnswerOffer(true, pair.now);
    if (!lostYes) {
      pair.Pump();
      PlayOn(pair, 3, moves);
    }
    pair.Cut();
    for (Session* side : {&pair.host->session, &pair.guest->session}) {
      EXPECT_TRUE(side->Waiting());
      EXPECT_EQ(side->offer(), Session::Offer::kNone);
    }
    pair.Relink();
    if (!lostYes) {
      EXPECT_FALSE(pair.host->session.Waiting() || pair.guest->session.Waiting());
      EXPECT_EQ(PlayOn(pair, 1000, moves), 96 - 3);
      continue;
    }
    // The guest has begun the new game, the host has not, and neither can
    // take the other's up.
    for (Session* side : {&pair.host->session, &pair.guest->session}) {
      ASSERT_TRUE(side->game().failure());
      EXPECT_EQ(side->game().failure()->fault, Fault::kResume);
    }
  }
}

// Offers, answers, moves, deliveries and cuts in any order: the two sides
// never part ways. The one way a game may end is a yes lost with the
// connection before the other side heard it, and then both say so.
TEST(NewGame, OffersAnswersMovesAndCutsInAnyOrderKeepBothSidesTogether) {
  int renewed = 0;
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Pair pair = MakePair(seed, 1);
    auto& host = pair.host->session;
    auto& guest = pair.guest->session;
    std::mt19937_64 rng(seed);
    bool yesInFlight = false;
    for (int step = 0; step < 400; ++step) {
      Session& side = rng() % 2 ? host : guest;
      switch (rng() % 10) {
        case 0:
          side.OfferNewGame(pair.now);
          break;
        case 1:
          if (side.offer() == Session::Offer::kCame) {
            bool yes = rng() % 3 != 0;
            side.AnswerOffer(yes, pair.now);
            yesInFlight = yesInFlight || yes;
          }
          break;
        case 2:
          if (rng() % 4 == 0) {
            pair.Cut();
            pair.Relink();
            // Only a yes lost with the connection ends the game.
            EXPECT_TRUE(yesInFlight || !host.game().failure());
            yesInFlight = false;
          }
          break;
        case 3:
        case 4:
        case 5:
          if (Session* mover = pair.Mover()) {
            EXPECT_TRUE(mover->Play(FirstEnabled(mover->game()), pair.now));
          } else {
            host.TickPause(pair.now);
            guest.TickPause(pair.now);
          }
          break;
        default:
          pair.Pump();
          yesInFlight = false;
          if (!host.game().failure() && !guest.game().failure()) {
            EXPECT_TRUE(MirroredPublicFacts(host.game().game(), guest.game().game()));
            EXPECT_EQ(host.GameNumber(), guest.GameNumber());
          }
      }
      if (host.game().failure() || guest.game().failure()) break;
      if (::testing::Test::HasFailure()) return;
    }
    pair.Pump();
    if (host.game().failure() || guest.game().failure()) {
      // Only a lost yes ends a game, on both sides alike.
      ASSERT_TRUE(host.game().failure() && guest.game().failure());
      EXPECT_EQ(host.game().failure()->fault, Fault::kResume);
      EXPECT_EQ(guest.game().failure()->fault, Fault::kResume);
      continue;
    }
    renewed += host.GameNumber() > 1 ? 1 : 0;
    EXPECT_EQ(host.GameNumber(), guest.GameNumber());
    // Whatever game they are in, they finish it alike.
    std::mt19937_64 moves(seed);
    PlayOn(pair, 1000, moves);
    EXPECT_TRUE(host.game().Over() && guest.game().Over());
    EXPECT_TRUE(MirroredPublicFacts(host.game().game(), guest.game().game()));
  }
  EXPECT_GT(renewed, 10);  // the seeds do take new games up
}

// An offer refused, by the host or by the guest, or answered either way
// after its connection was lost, once while the game is paused and once
// while the new link is being made (the offer went with the connection):
// nothing is taken up, the game goes on from where it stopped exactly as
// if nothing had been asked, and a new offer can be made.
TEST(NewGame, AnOfferRefusedOrAnsweredAfterItsLinkWasLostTakesNothingUp) {
  struct Answer {
    const char* what;
    bool cut, yes;
  };
  for (const auto& [what, cut, yes] :
       {Answer{"refused", false, false}, Answer{"yes after a cut", true, true},
        Answer{"no after a cut", true, false}}) {
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
      SCOPED_TRACE(std::string(what) + ", seed " + std::to_string(seed));
      // Two pairs on the same deals and moves: one is asked for a new game,
      // the other not, and both must then play on to the same end.
      Pair asked = MakePair(seed, 2), plain = MakePair(seed, 2);
      std::mt19937_64 a(seed), b(seed);
      const int moves = cut ? 7 : 9;
      ASSERT_EQ(PlayOn(plain, moves, a), moves);
      ASSERT_EQ(PlayOn(asked, moves, b), moves);
      const bool guestOffers = (seed + cut) % 2;
      Session& offering = guestOffers ? asked.guest->session : asked.host->session;
      Session& answering = guestOffers ? asked.host->session : asked.guest->session;
      ASSERT_TRUE(offering.OfferNewGame(asked.now));
      EXPECT_FALSE(offering.OfferNewGame(asked.now));  // one offer at a time
      asked.Pump();
      ASSERT_EQ(answering.offer(), Session::Offer::kCame);
      EXPECT_FALSE(answering.CanOffer());
      if (cut) {
        for (Session* side : {&offering, &answering}) side->ConnectionClosed(asked.now);
        ASSERT_TRUE(answering.Waiting());
        answering.AnswerOffer(yes, asked.now);
        for (Session* side : {&offering, &answering}) side->Relink(asked.now);
      }
      answering.AnswerOffer(yes, asked.now);
      asked.Pump();
      EXPECT_EQ(offering.TakeAnswer(), cut ? std::nullopt : std::optional<bool>(false));
      EXPECT_EQ(offering.TakeAnswer(), std::nullopt);
      EXPECT_TRUE(offering.CanOffer());
      for (Session* side : {&offering, &answering}) {
        EXPECT_FALSE(side->Waiting());
        EXPECT_FALSE(side->game().failure());
        EXPECT_EQ(side->offer(), Session::Offer::kNone);
        EXPECT_EQ(side->GameNumber(), 1);
        EXPECT_EQ(side->PreviousGame(), nullptr);
      }
      PlayOn(plain, 1000, a);
      PlayOn(asked, 1000, b);
      EXPECT_TRUE(asked.host->session.game().Over() && asked.guest->session.game().Over());
      EXPECT_EQ(asked.host->events, plain.host->events);
      EXPECT_EQ(asked.guest->events, plain.guest->events);
    }
  }
}

TEST(NewGame, OfferMessagesOutOfPlaceCloseTheLink) {
  struct Case {
    const char* what;
    Bytes message;
    bool offerFirst;
    Fault fault;
  };
  const Case cases[] = {
      {"an answer to no offer", {kAnswerMessage, 1}, false, Fault::kUnexpected},
      {"a begun game nobody said yes to", {kBeganMessage}, false, Fault::kUnexpected},
      {"a second offer", {kOfferMessage}, true, Fault::kUnexpected},
      {"an answer that is neither yes nor no", {kAnswerMessage, 7}, false, Fault::kBadMessage},
      {"an answer without its byte", {kAnswerMessage}, false, Fault::kBadMessage},
      {"an offer with a body", {kOfferMessage, 0}, false, Fault::kBadMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pair pair = MakePair(11, 2);
    Session& guest = pair.guest->session;
    if (c.offerFirst) guest.link().Send(Bytes{kOfferMessage}, pair.now);
    guest.link().Send(c.message, pair.now);
    pair.Pump();
    Link& host = pair.host->session.link();
    ASSERT_TRUE(host.Ended());
    EXPECT_EQ(host.ending()->fault, c.fault);
    EXPECT_FALSE(pair.host->session.CanOffer());
  }
}

}  // namespace
}  // namespace tesva::net::testing
