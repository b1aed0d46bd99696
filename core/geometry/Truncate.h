#pragma once

namespace kavelto {

// Truncates toward zero to an int, defined for every input: NaN gives 0 and values beyond the
// int range saturate to its ends. Every computed coordinate becomes an integer through here,
// so a garbage position (an infinite board coordinate, a zero scale) never reaches a plain
// cast.
int TruncToInt(double v);

} // namespace kavelto
