#pragma once

#include <string_view>

namespace kavelto {

// What a part is, as far as its orientation mark goes: diodes and LEDs take a bar at the
// cathode, polarised capacitors a "+", every other part with pins to tell apart a dot at pin 1.
enum class PartKind {
    Unknown,
    Resistor,
    Capacitor,
    PolarisedCapacitor,
    Inductor,
    Diode,
    Led,
    Crystal,
    Transistor,
    IntegratedCircuit,
    Connector,
    Switch,
    Fuse,
};

// The kind a designator's leading letters name by the usual reference designator classes
// ("R", "C", "D", "LED", "Q", "U", ...), Unknown for letters no class uses.
PartKind KindFromDesignator(std::string_view designator);

} // namespace kavelto
