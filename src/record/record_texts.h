// The words around the player's record that a table shows: its two
// commands after the game's menus, and the statistics dialog's title,
// buttons and question. The table's headings and rows are
// StatisticsRows (record.h); the line under a game's result is RecordLine.
#pragma once

#include <string_view>

namespace tesva::record {

// The commands after the game's own menus.
inline constexpr std::string_view kHintCommand = "İpucu";
inline constexpr std::string_view kStatisticsCommand = "İstatistikler";

// The statistics dialog.
inline constexpr std::string_view kStatisticsTitle = "İstatistikler";
inline constexpr std::string_view kResetButton = "Sıfırla";
inline constexpr std::string_view kCloseButton = "Kapat";
// Asked before "Sıfırla" clears the record, under the game's name.
inline constexpr std::string_view kResetTitle = "Tesva";
inline constexpr std::string_view kResetQuestion = "Bütün istatistikler silinsin mi?";

// A table in a web browser: a second tab of the site says that the game is
// open in another one, and offers to move the game to itself.
inline constexpr std::string_view kOpenElsewhere = "Oyun başka bir sekmede açık.";
inline constexpr std::string_view kTakeOverButton = "Bu sekmede oyna";

// The files the record and the kept game live in, in the player's folder,
// and the mark of a file set aside as unreadable.
inline constexpr const char* kKeptGameFile = "oyun.json";
inline constexpr const char* kRecordFile = "istatistik.json";
inline constexpr std::string_view kSetAsideMark = ".bozuk-";

}  // namespace tesva::record
