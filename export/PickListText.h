#pragma once

#include "PickList.h"
#include "parts/Face.h"

#include <string>
#include <vector>

namespace kavelto {

// The tab-separated pick list for the clipboard: bare line feeds, part texts copied byte for
// byte so that the receiving program sees what the placement file held.
std::string PickListText(const std::vector<PickListItem>& items, Face face,
                         PickListColumns columns = {});

} // namespace kavelto
