#pragma once

#include <cstdint>
#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// Maps a grid column to a store column (the identity).
int16_t GetIndex(ProgramState& state, int16_t gridColumn);

/// Writes the stored form of the text of grid cell (gridRow, gridColumn)
/// into data row gridRow - 2 of the current group.
void StorageStructure(ProgramState& state, int16_t gridRow, int16_t gridColumn,
                      const std::string& text);

/// Empties the current group's cells that the grid covers.
void ResetMemory(ProgramState& state);
/// Resets the file-level attributes (unit system, file name, factor, flags).
void ResetAttribs(ProgramState& state);
/// The whole-project reset used by New and Open.
void ResetallAttributes(ProgramState& state);

}  // namespace earthwork
