// The computer's turn. The amateur and the professional capture alike: the first card in hand
// order that is a jack or matches the top card. They differ only in the card
// they give away when nothing captures: the amateur lays a random card, the
// professional never gives away a jack it can keep and, reading the
// played-cards tracker, leads its first card when every rank it holds has
// been seen twice. The master (Usta) weighs every card of its hand by
// playing the hand out over many deals of the cards it has not seen
// (cpu/usta.h). None looks at the human's cards or at the deck.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"

namespace tesva {

inline constexpr std::string_view kAmateur = "1";
inline constexpr std::string_view kProfessional = "2";
inline constexpr std::string_view kMaster = "3";

// Timer1's tick: one computer move per start of the timer.
void Timer1_Timer(Game& g);
// The amateur's move.
void Cpu_Yonetim(Game& g);
// The professional's move.
void Cpu_YonetimPro(Game& g);
// The master's move.
void Cpu_YonetimUsta(Game& g);
// Plays the card at position 1 to N of the computer's hand through the
// shared capture and discard rules, then hands the turn over.
void PlayComputerCard(Game& g, int position);

// The card (position 1 to N of `hand`) that the amateur or the professional
// plays from `hand` on the present floor: the first card that captures, else
// the level's discard. `hand` is the seat's cards in hand order.
int RulesChoice(Game& g, std::string_view level, const std::vector<std::string>& hand);
// Which card each level gives away when nothing captures.
int AmateurDiscard(Game& g, const std::vector<std::string>& hand);
int ProfessionalDiscard(Game& g, const std::vector<std::string>& hand);

}  // namespace tesva
