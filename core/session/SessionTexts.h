#pragma once

#include "base/UserMessage.h"

#include <string>
#include <vector>

namespace kavelto {

// What the session shows in the window's fields and boxes, worded here once.

// The placement file's field: "no pkp loaded" before a file, "N parts loaded" after one, "no
// parts found" after a file without any.
inline constexpr const char* kNoPkpLoaded = "no pkp loaded";
std::string PkpText(int partCount);

// The parts per face field: "none" before a file, "N parts/face" after one.
inline constexpr const char* kNoFaceYet = "none";
std::string PartsPerFaceText(int faceCount);

// The box that announces a new kind of part, its item number, value and package as UTF-8, and
// its manufacturer part number on a line of its own when the BOM gives one.
UserMessage NewPartNotice(int itemNumber, const std::string& value, const std::string& package,
                          const std::string& mpn = std::string());

// A restored session's calibration was left out: the picture file at path (UTF-8) is no longer
// the one it was taken on.
UserMessage CalibrationNotRestored(const std::string& path);

// After a restore by designators: the designators no longer in the file, and those placed under
// another value or package (each with what it was and is), all UTF-8.
UserMessage MarksByDesignatorsNotice(const std::vector<std::string>& gone,
                                     const std::vector<std::string>& changed);

// A progress file read back that lists no part as placed.
UserMessage NothingPlacedInProgress();
// The designators of a progress file that were not marked placed: not found on their face in
// the placement file, and left off the board (UTF-8).
UserMessage ProgressNotAllMarked(const std::vector<std::string>& notFound,
                                 const std::vector<std::string>& notFitted);

// How well a map fitted through three points or more agrees with them.
UserMessage FitReport(std::string text);

} // namespace kavelto
