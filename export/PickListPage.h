#pragma once

#include "PickList.h"
#include "base/Result.h"
#include "parts/Face.h"

#include <string>
#include <vector>

namespace kavelto {

// The pick list as an HTML page for the browser. Part texts are shown as UTF-8 (Latin-1 where
// they are not valid UTF-8) and escaped, so a value like "<1%" or "4.7µF" reads as written.
std::string PickListPage(const std::vector<PickListItem>& items, Face face,
                         const std::string& makerSite, PickListColumns columns = {});

// Replaces the file at `path` with `page` as a whole: the page is written to a fresh file
// beside it and renamed over it, so a link planted at `path` is replaced, never followed, and
// a failed write leaves no truncated page behind. The page is readable by its owner only. A
// failure tells whether the file could not be made at all or not be written whole.
Result<void> WritePickListPage(const std::string& path, const std::string& page);

} // namespace kavelto
