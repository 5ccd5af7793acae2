// The options store of the browser: the page's local storage, under the
// same application, section and keys as the desktop's settings.
#pragma once

#include "platform/platform.h"

namespace tesva {

class BrowserStore : public OptionsStore {
 public:
  // "" when the key is absent or the storage cannot be read (a private
  // window, storage turned off): the game then takes its defaults.
  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  // A storage that refuses (full, turned off) loses the value silently, as
  // a settings file that cannot be written does.
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
};

}  // namespace tesva
