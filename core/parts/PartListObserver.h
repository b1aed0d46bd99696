#pragma once

namespace kavelto {

// Told by the session around every change of what the part list shows. A load reads into a
// table of its own; only the moment the session takes it and sorts the new face list lies
// between the two calls, as a list model's reset wants.
class PartListObserver {
public:
    virtual ~PartListObserver() = default;

    // The face list and its records are about to change as a whole, and have changed.
    virtual void faceListAboutToChange() = 0;
    virtual void faceListChanged() = 0;

    // The placed marks of rows firstRow to lastRow have changed.
    virtual void placedChanged(int firstRow, int lastRow) = 0;
};

} // namespace kavelto
