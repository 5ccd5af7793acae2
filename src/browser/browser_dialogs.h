// The game's two modal boxes in the browser. A page cannot stop the game's
// code to wait for the player, so a box with no answer yet is thrown as a
// DialogAsked; the page shows it, and the answer, once given, is handed in
// and the same event delivered again.
#pragma once

#include <optional>
#include <string>

#include "browser/dialog_asked.h"
#include "platform/platform.h"

namespace tesva {

class BrowserDialogs : public Dialogs {
 public:
  std::string InputBox(const std::string& prompt, const std::string& title, int maxLength) override;
  bool AskYesNo(const std::string& prompt, const std::string& title) override;

  // The answer the next box returns: a text for a text box (cancelling
  // gives ""), "yes" or anything else for a question.
  void Answer(std::string reply) { answer_ = std::move(reply); }
  void Forget() { answer_.reset(); }

 private:
  std::optional<std::string> answer_;
};

}  // namespace tesva
