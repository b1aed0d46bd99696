#include "app/Outcome.h"

namespace kavelto {

Outcome::Outcome(SessionUpdate sessionUpdate) {
    take(std::move(sessionUpdate));
}

void Outcome::take(SessionUpdate sessionUpdate) {
    if (sessionUpdate.message)
        messages.push_back(*std::move(sessionUpdate.message));
    sessionUpdate.message.reset();
    update = std::move(sessionUpdate);
}

} // namespace kavelto
