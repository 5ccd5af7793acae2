// A game that checks itself after every event: the game object on the
// in-memory platform, built exactly as tesva-headless builds it, plus a
// shadow of where each of the 52 cards is and what each player has scored,
// kept from the outside by the rules of the game. After every event the
// shadow and the game must agree, and every other rule that holds at all
// times must hold.
//
// Events are the lines of a tesva-headless script ("store", "reply",
// "answer", "start", "click", "hover", "menu", "tick"), so a run of events
// replays line for line with `TESVA_SEED=seed tesva-headless`.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"
#include "platform/memory.h"
#include "shell/events.h"

namespace tesva::soak {

enum class Verb { kStore, kReply, kAnswer, kStart, kClick, kHover, kMenu, kTick };

// One script line. The texts are not owned: they must outlive the event.
struct Event {
  Verb verb;
  std::string_view target;  // the key, element, menu or timer; "yes" or "no" for an answer
  std::string_view text;    // the stored text or the reply
};

// The event as a tesva-headless line. A text that one line cannot carry (a
// line end in it, or a '\r' at its end) throws std::invalid_argument.
std::string ScriptLine(const Event& event);

// An option that menu commands set (checked_game.cpp).
struct OptionGroup;

// The master's search in a soak: two deals a move instead of the game's
// thousand, so that a hundred thousand sequences take minutes; its moves go
// through the same rules. A replay sets it with TESVA_USTA_SEARCH.
inline constexpr int kSoakUstaSearch = 2;

class CheckedGame {
 public:
  // The game that `TESVA_SEED=seed TESVA_USTA_SEARCH=2 tesva-headless` plays.
  explicit CheckedGame(std::uint64_t seed);
  CheckedGame(const CheckedGame&) = delete;
  CheckedGame& operator=(const CheckedGame&) = delete;

  // Carries out the event as tesva-headless carries out its line, then checks
  // every invariant. Returns the first one broken, or nothing.
  std::optional<std::string> Apply(const Event& event);

  bool Exited() const { return platform_.host.exited; }
  int GamesEnded() const { return gamesEnded_; }
  // Events that the window could not deliver, as tesva-headless counts its errors.
  int Refused() const { return refused_; }
  const Game& game() const { return game_; }
  MemoryPlatform& platform() { return platform_; }

 private:
  // What the shadow needs to know of the game right before an event.
  struct Before {
    std::array<std::string, kHandSize> hand;
    std::vector<std::string> computerHand;
    int handNo = 0;
    int handsPerGame = 0;
    int deckPos = 0;
    int timer2Ticks = 0;
    bool sounds = false;
    bool watchMode = false;
    bool answer = false;  // what a Yes/No box opened now would return
    // For the events that open an input box: its reply and the names stored.
    std::string reply;
    std::string humanName;
    std::string computerName;
  };
  // Everything a refused event must leave as it was.
  struct Whole {
    GameState state;
    Form form;
    std::size_t sounds, dialogs, replies, answers;
    bool operator==(const Whole&) const = default;
  };

  std::optional<std::string> Deliver(EventKind kind, std::string_view target);
  Whole Copy() const;
  void Remember(Before& before, EventKind kind, std::string_view target);
  void Follow(EventKind kind, std::string_view target, const Before& before);

  // The shadow's rules.
  void StartHand();
  void EndGame(const Before& before);
  void Play(int player, int card, const Before& before);
  void DealOrSettle(const Before& before);
  void CheckDeal(int from);
  void CheckSummary();
  void CheckTurnNamed(const Label& nameLabel);
  void ComputerMove(const Before& before);
  void NewGame();

  // The invariants.
  void Check(EventKind kind, std::string_view target, const Before& before);
  void CheckTable();
  void CheckHand();
  void CheckMenus(bool command);
  void CheckHover();
  void CheckSoundsAndDialogs();
  bool Expect(bool holds, std::string_view what);

  MemoryPlatform platform_;
  Game game_{platform_.services()};  // after platform_: it holds references into it
  bool loaded_ = false;

  // The shadow. Cards are numbered 0 to 51 (suit by suit, rank by rank);
  // players 0 (the human) and 1 (the computer).
  struct Shadow {
    bool onTable = false;  // a hand's deck is laid out
    std::vector<std::string> deck;
    std::array<std::uint64_t, kDeckSize + 1> stillToDeal{};  // cards of deck[k...]
    std::vector<int> floor;                                  // bottom first
    int top = -1;                                            // the card a play is matched against
    int base = -1;
    int floorPicture = -1;  // kBack, -1 for nothing, or the card shown
    std::array<std::uint64_t, 2> piles{};
    std::array<int, 2> lastCapture{-1, -1};
    std::array<std::int64_t, 2> score{};
    std::array<std::int64_t, 2> handStartScore{};
    bool settled = false;
    std::string dealer;
  } shadow_;
  std::array<std::int64_t, 2> lastScore_{};
  int gamesEnded_ = 0;
  int refused_ = 0;
  // Options whose key a command has written since start-up: the store must
  // hold what the game uses.
  std::vector<const OptionGroup*> written_;

  // What the event should have made the game play and show.
  std::vector<Sound> expectedSounds_;
  int expectedDialogs_ = 0;
  std::size_t soundsSeen_ = 0;
  std::size_t dialogsSeen_ = 0;

  std::string failure_;
};

}  // namespace tesva::soak
