#pragma once

#include "PickList.h"
#include "base/UserMessage.h"
#include "parts/Face.h"

#include <optional>

#include <string>
#include <vector>

namespace kavelto {

// The pick list as an HTML page for the browser. Part texts are shown as UTF-8 (Latin-1 where
// they are not valid UTF-8) and escaped, so a value like "<1%" or "4.7µF" reads as written.
std::string PickListPage(const std::vector<PickListItem>& items, Face face,
                         const std::string& makerSite);

enum class PageWriteResult { Written, CantCreate, CantWrite };

// Replaces the file at `path` with `page` as a whole: the page is written to a fresh file
// beside it and renamed over it, so a link planted at `path` is replaced, never followed, and
// a failed write leaves no truncated page behind. The page is readable by its owner only.
PageWriteResult WritePickListPage(const std::string& path, const std::string& page);

// The box that tells why the page was not written, or nothing when it was.
std::optional<UserMessage> PageWriteFailure(PageWriteResult result);

} // namespace kavelto
