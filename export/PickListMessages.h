#pragma once

#include "base/UserMessage.h"

namespace kavelto {

// What the pick list's page tells the user, worded here alone.

// The page's file could not be made at all (no private folder, or the system refused).
UserMessage CantCreatePageMessage();

// The page could not be written whole.
UserMessage CantWritePageMessage();

// The progress file chosen could not be written.
UserMessage CantWriteProgressMessage();

} // namespace kavelto
