#pragma once

#include <string>

namespace kavelto {

// Every text the placement layer tells the user, word for word, in one place.

// The configuration file of the classic layout.
inline constexpr const char* kColumnMapNotFound = "Can't find Kavelto.ini file";
inline constexpr const char* kColumnMapUnreadable = "Can't read 3 first lines of Kavelto.ini file";
inline constexpr const char* kColumnMapReadFailed = "Error reading Kavelto.ini file";
inline constexpr const char* kColumnMapEmptyLines =
    "Empty lines in 3 first lines of Kavelto.ini file";
inline constexpr const char* kColumnMapBadHeaderCount =
    "Bad value for first line of Kavelto.ini file";
inline constexpr const char* kColumnMapBadCode = "Bad value in line 3 of Kavelto.ini file";
inline constexpr const char* kColumnMapDuplicatedCode =
    "Duplicated value in line 3 of Kavelto.ini file";
inline constexpr const char* kColumnMapMissingCode =
    "Missing mandatory column id in Kavelto.ini file";

// The placement file as a whole.
inline constexpr const char* kPartFileNotOpened = "Error opening part file";
inline constexpr const char* kPartFileReadFailed = "Error reading part file";
inline constexpr const char* kHeaderLinesUnread = "Error skiping header lines from part file";
inline constexpr const char* kNoPartsFound = "No parts found in part file";

// One line of the placement file.
inline constexpr const char* kUnterminatedQuote = "unterminated string in file";
inline constexpr const char* kNotEnoughFields = "Not enough fields per line";
inline constexpr const char* kFieldTooLong = "Field too long";

// No name row among the first searchLines lines; requiredNames lists what was looked for.
std::string NoNameRowMessage(int searchLines, const std::string& requiredNames);

// A component line without a position.
std::string NoPositionMessage(int lineNumber);

// A file of more parts than a table holds: the first maxParts of partsInFile were loaded.
std::string PartsLeftOutMessage(int maxParts, int partsInFile);

} // namespace kavelto
