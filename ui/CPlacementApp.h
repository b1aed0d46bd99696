#pragma once

namespace kavelto {

class Platform;

// One run of the program: the main window, shown modally until the user closes it.
class CPlacementApp {
public:
    explicit CPlacementApp(Platform& platform) : platform_(platform) {}

    // Returns the process's exit status: 1 when the column configuration is unusable.
    int run();

private:
    Platform& platform_;
};

} // namespace kavelto
