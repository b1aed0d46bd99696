#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavelto {

// The designators of one cell of a bill of materials, as the tools group them: separated by
// commas, semicolons or blanks ("R1, R2, R5", "R1 R2"), with ranges of one prefix written with a
// hyphen or an en dash ("R1-R4", "R1–R4", also "R1-4"). A token that is no such range, such as
// "U1-A", is one designator as written.
std::vector<std::string> SplitDesignators(std::string_view cell);

} // namespace kavelto
