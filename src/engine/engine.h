// The game engine's procedures: hand start, dealing, playing a card, hover
// marking and the end of a hand or game. Each works on the one game object.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"

namespace tesva {

// --- Options store -------------------------------------------------------
inline constexpr std::string_view kStoreApp = "Tesva (TT)";
inline constexpr std::string_view kStoreSection = "Secenekler";
inline constexpr std::string_view kKeyLevel = "Seviye";
inline constexpr std::string_view kKeyDelay = "CpuDusunmeHizi";
inline constexpr std::string_view kKeyHands = "ElSayisi";
inline constexpr std::string_view kKeySounds = "Sesler";
inline constexpr std::string_view kKeyBackground = "BackGround";
inline constexpr std::string_view kKeyCardBack = "Deste";
inline constexpr std::string_view kKeyHumanName = "OyuncuIsim";
inline constexpr std::string_view kKeyComputerName = "CpuIsim";

std::string ReadOption(Game& g, std::string_view key);
void WriteOption(Game& g, std::string_view key, std::string_view value);

// "Oyuncu (12)": a name label's caption.
std::string NameCaption(std::string_view name, int score);
// The status line names the player to move: " Oyuncu (12) oynuyor...".
void ShowTurn(Game& g, const Label& nameLabel);

// --- Hand start (deck.cpp) -------------------------------------------------
// Draws a deck of the 52 codes in dealing order: rank and suit drawn at
// random, repeats dropped, at most 10000 draws, then any missing card
// appended in suit and rank order.
std::vector<std::string> ShuffleDeck(RandomSource& random);
// Starts a hand: new deck, floor, tracker, dealer, status texts, first deal.
void DesteKarisimi(Game& g);
// The same with the deck given, in dealing order. A code may be "" for a card
// this table does not know (a game between two programs): it is dealt as
// nothing and counted nowhere. `firstDealer` deals a game's first hand
// (kComputer in the game against the computer).
void StartHand(Game& g, std::vector<std::string> deck, std::string_view firstDealer);

// --- Dealing and settlement (deal.cpp) -----------------------------------
void KagitDagitimi(Game& g);
// The human's hand card i can be clicked exactly when it holds a card, the
// rules panel is closed and no computer move is pending.
void EnableHumanCards(Game& g);

// --- Playing a card (move.cpp) -------------------------------------------
void Player1_Kart_Click(Game& g, int index);
// Shared by both players' moves: the played card takes the floor pile into
// the seat's captured pile (matched against the top card's rank), or is
// laid on the pile. Both record the play as seen by both players.
void TakeFloor(Game& g, const std::string& card, std::string_view topRank, Seat seat);
void LayOnFloor(Game& g, const std::string& card, Seat seat);
// True when `card` played now would take the floor pile: a jack or a card of
// the top card's rank, and never on an empty floor.
bool TakesFloor(const Game& g, std::string_view card);
void CountPlayedCard(Game& g, std::string_view code);
void PlaySound(Game& g, Sound sound);
void TakeBaseCard(Game& g);

// --- Hover marking (hover.cpp) -------------------------------------------
void Player1_Kart_MouseMove(Game& g, int index);
void Form_MouseMove(Game& g);

// --- End of a hand or game (hand_end.cpp) --------------------------------
void Timer2_Timer(Game& g);
// Timer2_Timer with the next hand started by `startHand` instead of a fresh
// shuffle.
void PauseTick(Game& g, const std::function<void(Game&)>& startHand);

}  // namespace tesva
