#pragma once

#include <string>
#include <string_view>

namespace kavelto {

// Part texts are stored as the bytes read. For display they are taken as UTF-8 where they are
// valid UTF-8 and as Latin-1 otherwise, so that files from every design tool read right.
bool IsValidUtf8(std::string_view bytes);
std::string Latin1ToUtf8(std::string_view bytes);
std::string DisplayUtf8(std::string_view bytes);

} // namespace kavelto
