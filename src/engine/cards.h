// Tesva, the Turkish two-player fishing game, as this program plays it.
//
// - 52 cards, suits "K", "D", "S" (clubs), "M" and ranks 1 (ace) to 13;
//   11 is the jack. A card is named by its code: suit letter and rank, "D10".
// - Each hand starts with a fresh shuffle and four floor cards: a face-up
//   base card under three face-down ones. The first card played is matched
//   against the base card.
// - Six deals of four cards to each player per hand; the player who did not
//   deal gets the first four cards and plays first. The computer deals the
//   first hand of every game, then the dealer alternates.
// - A jack, or a card of the top card's rank, takes the whole floor pile;
//   any other card (and a jack on an empty floor) is laid on the pile.
// - Taking a lone card with a card of its rank is a tesva: 30 points on an
//   ace, 15 on a jack, 10 on any other rank, instead of the card points.
// - Card points: aces and jacks 1, the 2 of clubs 2, the 10 of diamonds 3.
//   Capturing more cards than the opponent in a hand is worth 3 more.
//   Cards left on the floor when the deck runs out go to nobody.
// - After the last hand the higher total wins; equal totals are a draw.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesva {

inline constexpr int kDeckSize = 52;
inline constexpr int kRanks = 13;
inline constexpr int kHandSize = 4;
inline constexpr int kFloorCards = 4;
inline constexpr int kDealSize = 2 * kHandSize;

// Suit letters in shuffle order: the shuffle draws their index 0 to 3.
inline constexpr std::array<std::string_view, 4> kSuits = {"K", "D", "S", "M"};

inline constexpr std::string_view kAceRank = "1";
inline constexpr std::string_view kJackRank = "11";

inline constexpr int kMajorityPoints = 3;
inline constexpr int kTesvaOnAce = 30;
inline constexpr int kTesvaOnJack = 15;
inline constexpr int kTesvaOnOther = 10;

// The point table: the aces and jacks are worth 1, "S2" 2 and "D10" 3.
inline constexpr std::array<std::string_view, 10> kPointCards = {"K1",  "D1",  "S1",  "M1", "K11",
                                                                 "D11", "S11", "M11", "S2", "D10"};

// Player tags, as held in Dealer.
inline constexpr std::string_view kHuman = "My";
inline constexpr std::string_view kComputer = "Cpu";

// Card-back picture names.
inline constexpr std::string_view kColouredBack = "Back";
inline constexpr std::string_view kStandardBack = "Back2";

// The rank text of a code: "D10" gives "10", "S1" gives "1", "" gives "".
std::string_view RankText(std::string_view code);
// The rank as a number 1 to 13; 0 for "" or a malformed code.
int Rank(std::string_view code);
bool IsJack(std::string_view code);
bool IsCardBack(std::string_view picture);
// The code of suit index 0-3 and rank 1-13.
std::string CardCode(int suit, int rank);
// True for the 52 codes "K1" ... "M13" and nothing else.
bool IsCardCode(std::string_view code);
// The number of a code "K1" ... "M13": suit index times 13 plus rank minus
// 1, so 0 to 51 in the shuffle's suit order; -1 for anything else.
int CardIdOf(std::string_view code);
// True when `cards` holds each of the 52 codes exactly once.
bool IsFullDeck(const std::vector<std::string>& cards);

// Point value of a card by the point table: 0, 1, 2 or 3.
int PointValue(std::string_view code);
// Points of a tesva made on a lone card of rank text `rank`.
int TesvaPoints(std::string_view rank);

// x >= 0 rounded to the nearest whole number, an exact half to the even
// neighbour (2.5 gives 2, 3.5 gives 4); x must stay below 2^62. The
// shuffle's draws are never negative, and without RoundHalfEven's test of
// the sign the shuffles of a benchmark game take 27,000 (7%) fewer
// instructions.
inline long long RoundHalfEvenNonNegative(double x) {
  auto whole = static_cast<long long>(x);
  double fraction = x - static_cast<double>(whole);
  // Without branches: the shuffle rounds two random values per draw, and a
  // mispredicted branch costs more than the whole sum.
  return whole + ((fraction > 0.5) | ((fraction == 0.5) & (whole & 1)));
}
// The same for either sign: |x| must stay below 2^62.
inline long long RoundHalfEven(double x) {
  // Half to even is symmetric.
  return x < 0 ? -RoundHalfEvenNonNegative(-x) : RoundHalfEvenNonNegative(x);
}
// A random position 1 to n: u (0 <= u < 1) times n, rounded half to even, and
// 0 raised to 1. Position 1 is the likeliest and n the rarest.
int DrawnPosition(double u, int n);

// The game's sounds and their files.
enum class Sound { kCard, kTesva, kLaugh, kLose, kWith };
inline constexpr std::array<std::string_view, 5> kSoundFiles = {
    "Card.voi", "Tesva.voi", "Laugh.voi", "Lose.voi", "With.voi"};

// Files of the "Data" folder beside the program.
std::string PicturePath(std::string_view folder, std::string_view name);
std::string SoundPath(std::string_view folder, std::string_view file);

// "Deste (48)": the cards left in the deck after deckPos have been taken.
std::string DeckCountText(int deckPos);
// The count in such a text; none for any other text.
std::optional<int> DeckCountIn(std::string_view text);

}  // namespace tesva
