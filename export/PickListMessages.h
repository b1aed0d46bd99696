#pragma once

#include "base/UserMessage.h"

#include <string>

namespace kavelto {

// What the pick list's page tells the user, worded here alone.

// The page's file could not be made at all (no private folder, or the system refused).
UserMessage CantCreatePageMessage();

// The page could not be written whole.
UserMessage CantWritePageMessage();

// The progress file chosen could not be written.
UserMessage CantWriteProgressMessage();

// The spares rule's table as left can't be taken; rows are numbered from 1 as the table shows.
UserMessage SparesNoRowsMessage();
UserMessage SparesSizeUnknownMessage(int row, const std::string& size);
UserMessage SparesPercentMessage(int row);
UserMessage SparesMinimumMessage(int row);
UserMessage SparesSizeNotGrowingMessage(int row);
UserMessage SparesOthersNotLastMessage(int row);

} // namespace kavelto
