#pragma once

namespace earthwork::cli {

/// Gives the batch commands their Qt outputs: the report's PDF and the
/// mass-haul diagram's pictures, drawn off screen.
void InstallQtDrawing();

}  // namespace earthwork::cli
