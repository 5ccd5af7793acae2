#include "browser/browser_dialogs.h"

namespace tesva {

std::string BrowserDialogs::InputBox(const std::string& prompt, const std::string& title,
                                     int maxLength) {
  if (!answer_) throw DialogAsked{false, prompt, title, maxLength};
  std::string reply = std::move(*answer_);
  answer_.reset();
  return reply;
}

bool BrowserDialogs::AskYesNo(const std::string& prompt, const std::string& title) {
  if (!answer_) throw DialogAsked{true, prompt, title, 0};
  bool yes = *answer_ == "yes";
  answer_.reset();
  return yes;
}

}  // namespace tesva
