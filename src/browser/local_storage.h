// The page's local storage, read and written by key, and the console's
// warning line: what the browser's keeper of the game and the record needs
// of the page, and what the options' store reads and writes through.
#pragma once

#include <optional>
#include <string>

namespace tesva {

// The stored text; nothing when the key is absent or the storage cannot be
// read (a private window, storage turned off).
std::optional<std::string> ReadLocalStorage(const std::string& key);
// False when the storage refuses (full, turned off).
bool WriteLocalStorage(const std::string& key, const std::string& value);
void RemoveLocalStorage(const std::string& key);
// One line on the page's console, as a warning: the desktop prints the same
// lines on standard error.
void WarnOnConsole(const std::string& line);

}  // namespace tesva
