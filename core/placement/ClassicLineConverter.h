#pragma once

#include "placement/ColumnMap.h"
#include "placement/LineConverter.h"

namespace kavelto {

// A line whose columns the three lines of the configuration file list: the n-th field of the
// line is column n, and the first malformed line fails the load.
class ClassicLineConverter : public LineConverter {
public:
    explicit ClassicLineConverter(const ColumnMap& map) : map_(map) {}

    Result<void> convert(char* line, std::size_t length, int lineNumber,
                         PartRecord& record) override;
    char separator() const override { return map_.separator; }

private:
    const ColumnMap& map_;
};

} // namespace kavelto
