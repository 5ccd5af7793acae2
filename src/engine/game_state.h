// The whole observable game: the state values, the window's elements and
// the services it runs on, in one object. Every procedure of the game takes
// this object and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/elements.h"
#include "platform/platform.h"

namespace tesva {

// Twips: 15 to a pixel at 96 dots per inch.
inline constexpr int kCardWidth = 960;
inline constexpr int kCardHeight = 1560;
// The human's hand cards overlap, 600 twips apart; the hover frame moves to
// their corner.
inline constexpr int kHumanCardLeft = 2640;
inline constexpr int kHumanCardStep = 600;
inline constexpr int kHumanCardTop = 4440;
inline constexpr int kHumanCardLeftOf(int index) {
  return kHumanCardLeft + kHumanCardStep * (index - 1);
}

inline constexpr int kHandPauseInterval = 500;
inline constexpr int kDefaultThinkingDelay = 100;
inline constexpr int kDefaultHandsPerGame = 11;

inline constexpr int kGreen = 32768;  // red 0, green 128, blue 0

// How much the master level searches per move (see cpu/usta.h): the number
// of deals of the unseen cards it plays out. The full strength is what the
// game plays; a stress run may turn it down to 1 to go fast.
inline constexpr int kUstaFullSearch = 1000;

enum class Seat { kHuman, kComputer };

// A card played face up in this hand, as both players saw it.
struct PublicPlay {
  std::string card;
  Seat seat;
  bool captured;
  bool operator==(const PublicPlay&) const = default;
};

// What both players have seen of this hand: the base card laid face up at
// its start and every card played since.
struct HandRecord {
  std::string baseCard;
  std::vector<PublicPlay> plays;
  bool operator==(const HandRecord&) const = default;
};

// The game's state values.
struct GameState {
  bool HoverActive = true;  // counts as set at program start
  std::int16_t HoverIndex = 0;
  std::int32_t Player1_Score = 0;
  std::int32_t Player2_Score = 0;
  std::string Dealer;
  std::int16_t DeckPos = 0;
  std::array<std::string, kHandSize> Player1_DealtHand{};
  std::string TopCard;
  std::string BaseCard;
  std::int16_t FloorCount = 0;
  std::int16_t FloorPoints = 0;
  std::int16_t Player1_CardsTaken = 0;
  std::int16_t Player2_CardsTaken = 0;
  OneBased<std::string, kHandSize> Player1_Hand{};
  std::int16_t Player1_CardsLeft = 0;
  std::int16_t Player2_CardsLeft = 0;
  std::int16_t HandNo = 0;
  std::int16_t HandsPerGame = kDefaultHandsPerGame;
  std::string Level;
  std::string CardBack;
  std::array<std::string, 10> PointCards{};

  bool operator==(const GameState&) const = default;
};

// The window's elements, as the game sees them. Their start-up look is the
// one the window opens with, before the options are applied.
struct Form {
  std::string Caption = "Tesva 1.5";
  int BackColor = kGreen;
  Pointer MousePointer = Pointer::kDefault;

  OneBased<Picture, kHandSize> Player1_Kart{};
  OneBased<Picture, kHandSize> Player2_Kart{};
  Picture Deste;
  Picture Player1_Deste;
  Picture Player2_Deste;
  Picture OrtadakiKartlar;
  Picture EnAltKart;

  Label Label1{" Hazır."};             // status line
  Label Label2{"Taban"};               // under the base card
  Label Label7{"1. El oynanıyor..."};  // hand number
  Label Label8{"Deste"};               // deck count
  Label Player1_Name{"Oyuncu (0)"};
  Label Player2_Name{"Bilgisayar (0)"};
  OneBased<Label, kRanks> Cikanlar{};  // played-cards tracker, one per rank

  TextList List1;  // the deck, in dealing order
  TextList List2;  // the computer's hand, in dealing order

  Frame Shape1{false, 5460, 2400};
  // The human's hand cards from back to front.
  std::array<int, kHandSize> ZOrder{1, 2, 3, 4};

  bool Picture1Visible = false;  // the rules panel

  Timer Timer1{false, kDefaultThinkingDelay};
  Timer Timer2{false, kHandPauseInterval};

  MenuItem mnuYeni{"Yeni Oyun"};
  MenuItem mnuSecenek{"Seçenekler"};
  MenuItem mnuSeviye{"Seviye"};
  MenuItem mnuAmator{"Amatör", true};
  MenuItem mnuPro{"Profesyonel"};
  MenuItem mnuUsta{"Usta"};
  MenuItem mnuBack{"Background"};
  MenuItem mnuYesil{"Yeşil", true};
  MenuItem mnuLacivert{"Lacivert"};
  MenuItem mnuSiyah{"Siyah"};
  MenuItem mnuDeste{"Deste"};
  MenuItem mnuStandart{"Standart", true};
  MenuItem mnuRenkli{"Renkli"};
  MenuItem mnuDusunmeHizi{"Bilgisayarın düşünme hızı"};
  MenuItem mnuFirst{"1/100 Sn"};
  MenuItem mnuSecond{"1/10 Sn", true};
  MenuItem mnuTherd{"1/2 Sn"};
  MenuItem mnuLast{"1 Sn"};
  MenuItem mnuElSayisi{"El sayısı   (11)"};
  MenuItem mnuSesler{"Sesler", true};
  MenuItem mnuHelp{"Yardım"};
  MenuItem mnuCikis{"Çıkış"};

  Form();
  bool operator==(const Form&) const = default;
};

// The main window `main`: state, elements and the services behind them.
struct Game : GameState, Form {
  explicit Game(Platform platform) : io(platform) {
    // The program stays in its folder: the sound paths are made once.
    auto folder = io.host.ProgramFolder();
    for (std::size_t i = 0; i < kSoundFiles.size(); ++i) {
      soundPaths[i] = SoundPath(folder, kSoundFiles[i]);
    }
  }

  Platform io;
  std::array<std::string, kSoundFiles.size()> soundPaths;
  // Timer2_Timer's own tick counter: it lives for the whole run and no new
  // game resets it.
  std::int16_t Timer2Ticks = 0;
  // What a player at the table has seen of this hand; made anew at each
  // hand start.
  HandRecord Seen;
  // The master level's search size; not part of the game's state.
  int UstaSearch = kUstaFullSearch;

  // Two games are equal when everything they play on is: state, elements,
  // the pause's tick counter and what was seen of the hand. The services
  // and the search size are not the game.
  bool operator==(const Game& other) const {
    const GameState &state = *this, &otherState = other;
    const Form &form = *this, &otherForm = other;
    return state == otherState && form == otherForm && Timer2Ticks == other.Timer2Ticks &&
           Seen == other.Seen;
  }
};

}  // namespace tesva
