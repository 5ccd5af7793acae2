// The core makes every text the window shows, in UTF-8; the window draws
// them as QString.
#pragma once

#include <QString>
#include <string_view>

inline QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
