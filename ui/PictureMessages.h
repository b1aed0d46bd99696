#pragma once

#include "PictureFile.h"
#include "base/UserMessage.h"

#include <string>

namespace kavelto {

// What the board view tells about its picture, worded here alone.

// The picture file at path, named as the user knows it (UTF-8), can't be shown, and why.
UserMessage CantShowPicture(const std::string& path, const PictureRefusal& refusal);

} // namespace kavelto
