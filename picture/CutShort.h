#pragma once

#include <string_view>

namespace kavelto {

// Whether a BMP, JPEG or PNG stream ends before the end its own headers give it, as a file cut
// short in copying does. Decoders draw the missing rows in black or grey, or give up at the cut,
// and a board picture half drawn would box parts on nothing. Data of another kind is not judged.
bool IsCutShort(std::string_view data);

} // namespace kavelto
