#include "motion/table_motion.h"

#include <algorithm>
#include <optional>

namespace {

using tesva::Form;

constexpr int kFirstComputerSpot = static_cast<int>(Spot::kComputer1);

bool IsHandSpot(Spot spot) {
  return static_cast<int>(spot) < kFirstComputerSpot + tesva::kHandSize;
}

// The places that hold one picture element each.
struct Single {
  Spot spot;
  std::string_view name;
  tesva::Picture Form::*picture;
};
constexpr std::array<Single, 5> kSingles = {{
    {Spot::kFloorTop, "OrtadakiKartlar", &Form::OrtadakiKartlar},
    {Spot::kFloorBase, "EnAltKart", &Form::EnAltKart},
    {Spot::kHumanPile, "Player1_Deste", &Form::Player1_Deste},
    {Spot::kComputerPile, "Player2_Deste", &Form::Player2_Deste},
    {Spot::kDeck, "Deste", &Form::Deste},
}};

const Single& SingleAt(Spot spot) {
  return *std::find_if(kSingles.begin(), kSingles.end(),
                       [spot](const Single& single) { return single.spot == spot; });
}

// Works out, event by event, what the table shows while each step runs.
class Planner {
 public:
  Planner(const Form& before, const Form& after)
      : before_(before), after_(after), table_(PicturesOf(before)), target_(PicturesOf(after)) {}

  MotionPlan Plan() {
    // The deck list is refilled only when a hand starts (and emptied when
    // the game ends): then the old table goes, and the new floor is laid.
    bool newHand = before_.List1.items != after_.List1.items;
    if (newHand) {
      LayNewFloor();
      floorSteps_ = steps_.size();
    } else {
      PlayCard();
    }
    Deal();
    return Finish(newHand);
  }

 private:
  bool Changed(Spot spot) const { return At(table_, spot) != At(target_, spot); }

  // The cards slide together. A place a card leaves is empty behind it, but
  // for the deck, which still holds cards; a place a card lands on shows it.
  void Slide(const std::vector<Flight>& flights) {
    if (flights.empty()) return;
    for (const Flight& flight : flights) {
      if (flight.from != Spot::kDeck) At(table_, flight.from).clear();
    }
    steps_.push_back({flights, table_});
    for (const Flight& flight : flights) At(table_, flight.to) = flight.picture;
  }

  // The old hand's cards leave the table at once; the new floor comes from
  // the deck, the base card under the face-down ones.
  void LayNewFloor() {
    for (Spot spot : kAllSpots) {
      if (IsHandSpot(spot) || spot == Spot::kFloorTop || spot == Spot::kFloorBase) {
        At(table_, spot).clear();
      }
    }
    std::vector<Flight> floor;
    for (Spot spot : {Spot::kFloorBase, Spot::kFloorTop}) {
      if (!At(target_, spot).empty()) {
        floor.push_back({At(target_, spot), Spot::kDeck, spot, FaceDown()});
      }
    }
    Slide(floor);
  }

  // The card played shows up face up on the floor's top, or on the pile of
  // the player whose card took the floor.
  void PlayCard() {
    for (Spot landing : {Spot::kFloorTop, Spot::kHumanPile, Spot::kComputerPile}) {
      const std::string& card = At(target_, landing);
      if (!Changed(landing) || !tesva::IsCardCode(card)) continue;
      std::optional<Spot> from = HandHolding(card);
      if (!from) return;
      Slide({{card, *from, Spot::kFloorTop}});
      if (landing != Spot::kFloorTop) TakeFloor(card, landing);
      return;
    }
  }

  // The card lands on the floor, then the whole floor slides to the pile:
  // the base card goes with it when this capture takes it.
  void TakeFloor(const std::string& card, Spot pile) {
    std::vector<Flight> sweep;
    const std::string& base = At(table_, Spot::kFloorBase);
    if (!base.empty() && At(target_, Spot::kFloorBase).empty()) {
      sweep.push_back({base, Spot::kFloorBase, pile});
    }
    sweep.push_back({card, Spot::kFloorTop, pile});
    Slide(sweep);
  }

  std::optional<Spot> HandHolding(const std::string& card) const {
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      if (At(table_, HumanSpot(i)) == card) return HumanSpot(i);
    }
    const auto& computer = before_.List2.items;
    if (std::find(computer.begin(), computer.end(), card) == computer.end()) return std::nullopt;
    // The computer's face-down pictures go from the highest index down,
    // whichever of its cards it plays.
    for (int i = tesva::kHandSize; i >= 1; --i) {
      if (!At(table_, ComputerSpot(i)).empty()) return ComputerSpot(i);
    }
    return std::nullopt;
  }

  // New cards in the hands come from the deck: the first four to the
  // player who moves first, then the other four.
  void Deal() {
    std::vector<Flight> human, computer;
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      const std::string& card = At(target_, HumanSpot(i));
      if (!card.empty() && Changed(HumanSpot(i))) {
        human.push_back({card, Spot::kDeck, HumanSpot(i), FaceDown()});
        At(table_, HumanSpot(i)).clear();  // empty until its card arrives
      }
      const std::string& back = At(target_, ComputerSpot(i));
      if (!back.empty() && At(table_, ComputerSpot(i)).empty()) {
        computer.push_back({back, Spot::kDeck, ComputerSpot(i)});
      }
    }
    bool humanFirst = HumanDealtFirst(human);
    Slide(humanFirst ? human : computer);
    Slide(humanFirst ? computer : human);
  }

  // The back a card shows on its way from the deck: the deck's own.
  std::string FaceDown() const {
    for (const std::string& deck : {At(table_, Spot::kDeck), At(target_, Spot::kDeck)}) {
      if (tesva::IsCardBack(deck)) return deck;
    }
    return {};
  }

  // The deck list holds the cards in dealing order.
  bool HumanDealtFirst(const std::vector<Flight>& human) const {
    const auto& deck = after_.List1.items;
    const auto& computer = after_.List2.items;
    if (human.empty() || computer.empty()) return true;
    auto position = [&deck](const std::string& card) {
      return std::find(deck.begin(), deck.end(), card) - deck.begin();
    };
    return position(human.front().picture) < position(computer.front());
  }

  // What no movement explains is shown from the first step on.
  MotionPlan Finish(bool newHand) {
    MotionPlan plan{{}, newHand};
    for (Spot spot : kAllSpots) {
      if (!Changed(spot)) continue;
      plan.snap = true;
      for (MotionStep& step : steps_) At(step.shown, spot) = At(target_, spot);
    }
    PaceCaptions();
    plan.steps = std::move(steps_);
    return plan;
  }

  // The captions keep their old text while the cards move; a new hand's
  // number and its "Taban" come with its floor, before the deal.
  void PaceCaptions() {
    TableCaptions old = CaptionsOf(before_);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      steps_[i].captions = old;
      if (floorSteps_ > 0 && i >= floorSteps_) {
        for (Caption caption : {Caption::kBase, Caption::kHandNumber}) {
          steps_[i].captions[static_cast<std::size_t>(caption)] = LabelAt(after_, caption);
        }
      }
    }
  }

  const Form& before_;
  const Form& after_;
  TablePictures table_;
  const TablePictures target_;
  std::vector<MotionStep> steps_;
  std::size_t floorSteps_ = 0;  // steps that lay a new hand's floor
};

}  // namespace

Spot HumanSpot(int index) {
  return static_cast<Spot>(static_cast<int>(Spot::kHuman1) + index - 1);
}

Spot ComputerSpot(int index) {
  return static_cast<Spot>(kFirstComputerSpot + index - 1);
}

SpotElement ElementOf(Spot spot) {
  int n = static_cast<int>(spot);
  if (n < kFirstComputerSpot) return {"Player1_Kart", n + 1};
  if (IsHandSpot(spot)) return {"Player2_Kart", n - kFirstComputerSpot + 1};
  return {SingleAt(spot).name, 0};
}

const tesva::Picture& PictureAt(const Form& form, Spot spot) {
  auto [name, index] = ElementOf(spot);
  if (index == 0) return form.*SingleAt(spot).picture;
  return name == "Player1_Kart" ? form.Player1_Kart(index) : form.Player2_Kart(index);
}

tesva::Place PlaceOf(Spot spot) {
  auto [name, index] = ElementOf(spot);
  if (name == "Player1_Kart") return tesva::Player1KartPlace(index);
  if (name == "Player2_Kart") return tesva::Player2KartPlace(index);
  return *tesva::FindPlace(name);
}

TablePictures PicturesOf(const Form& form) {
  TablePictures table;
  for (Spot spot : kAllSpots) At(table, spot) = PictureAt(form, spot).picture;
  return table;
}

std::string& At(TablePictures& table, Spot spot) {
  return table[static_cast<std::size_t>(spot)];
}

const std::string& At(const TablePictures& table, Spot spot) {
  return table[static_cast<std::size_t>(spot)];
}

const tesva::Label& LabelAt(const Form& form, Caption caption) {
  switch (caption) {
    case Caption::kStatus:
      return form.Label1;
    case Caption::kBase:
      return form.Label2;
    case Caption::kHandNumber:
      return form.Label7;
    case Caption::kDeck:
      return form.Label8;
    case Caption::kHumanName:
      return form.Player1_Name;
    case Caption::kComputerName:
      break;
  }
  return form.Player2_Name;
}

TableCaptions CaptionsOf(const Form& form) {
  TableCaptions captions;
  for (Caption caption : kAllCaptions) {
    captions[static_cast<std::size_t>(caption)] = LabelAt(form, caption);
  }
  return captions;
}

const tesva::Label& At(const TableCaptions& captions, Caption caption) {
  return captions[static_cast<std::size_t>(caption)];
}

MotionPlan PlanMotion(const Form& before, const Form& after) {
  return Planner(before, after).Plan();
}
