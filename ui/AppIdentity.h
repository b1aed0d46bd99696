#pragma once

namespace kavelto {

// Who offers the program, named once for the caption, the logo's question and the pick list.
inline constexpr const char* kMakerName = "QUANDEL";
inline constexpr const char* kMakerSite = "www.quandel.example";
inline constexpr const char* kProgramVersion = "1.2";

} // namespace kavelto
