#pragma once

#include "parts/Face.h"
#include "parts/FaceList.h"
#include "parts/PartRecord.h"
#include "parts/PartTable.h"
#include "parts/SortMode.h"

#include <array>

namespace kavelto {

// Item number of each face-list row; only the first faceCount entries are meaningful.
using ItemNumbers = std::array<int, kMaxParts>;

// True when a's key under mode does not exceed b's, so equal keys give true. Texts compare
// byte by byte as unsigned bytes, case-sensitive; partId compares as an unsigned number.
bool IsSortedBefore(const PartRecord& a, const PartRecord& b, SortMode mode);

// Fills list with the positions of the table's parts on face, in sort order. Parts with
// equal keys come in the reverse of their table order, the order an insertion sort that moves
// each part in front of its equals yields. Allocates the face's sort keys, once.
void FilterAndSortFace(const PartTable& table, Face face, SortMode mode, FaceList& list);

// Numbers the rows from 1; the number grows wherever a row's part is not of the same kind as
// the previous row's, so a kind split by another kind gets a new number.
void NumberItems(const PartTable& table, const FaceList& list, ItemNumbers& itemNumbers);

} // namespace kavelto
