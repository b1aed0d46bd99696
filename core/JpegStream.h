#pragma once

#include <string_view>

namespace kavelto {

// False for a JPEG stream that ends before its end-of-image marker, as a file cut short in
// copying does. A decoder fills the missing rows with grey instead of failing, and a board
// picture half grey would box parts on nothing. The stream is followed segment by segment from
// its start, so bytes after its end don't matter; a segment whose length runs past the data, or
// is less than its own two bytes, counts as cut short too. Data that is not JPEG counts as
// complete: its own decoder judges it.
bool IsCompleteJpeg(std::string_view data);

} // namespace kavelto
