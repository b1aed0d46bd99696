#include "session/SessionUpdate.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace kavelto {
namespace {

// Two reasons to repaint give the more urgent one, whichever comes first.
TEST(SessionUpdate, RepaintKeepsTheMoreUrgentRequest) {
    const struct {
        const char* name;
        Repaint first, second, kept;
    } cases[] = {
        {"nothing, then the next paint", Repaint::None, Repaint::Soon, Repaint::Soon},
        {"the next paint, then nothing", Repaint::Soon, Repaint::None, Repaint::Soon},
        {"at once, then the next paint", Repaint::Now, Repaint::Soon, Repaint::Now},
        {"the next paint, then at once", Repaint::Soon, Repaint::Now, Repaint::Now},
    };
    for (const auto& c : cases) {
        const SessionUpdate update =
            SessionUpdate().repaintAtLeast(c.first).repaintAtLeast(c.second);
        EXPECT_EQ(update.repaint, c.kept) << c.name;
    }
}

// An outcome says nothing but what its setters say.
TEST(SessionUpdate, SaysOnlyWhatItsSettersSay) {
    const SessionUpdate quiet;
    EXPECT_EQ(std::tie(quiet.reveal, quiet.repaint, quiet.message, quiet.refreshFields),
              std::make_tuple(std::nullopt, Repaint::None, std::nullopt, false));
    const SessionUpdate told =
        SessionUpdate().revealRow(4).tell(UserMessage{"t", "c"}).refreshingFields();
    EXPECT_EQ(std::tie(told.reveal, told.repaint, told.message, told.refreshFields),
              std::make_tuple(std::optional<int>(4), Repaint::None,
                              std::optional<UserMessage>(UserMessage{"t", "c"}), true));
}

} // namespace
} // namespace kavelto
