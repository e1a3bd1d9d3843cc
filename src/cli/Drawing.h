#pragma once

#include <string>
#include <vector>

namespace earthwork {
struct MassHaul;
struct ProgramState;
struct ProjectStore;
}  // namespace earthwork

namespace earthwork::cli {

/// The outputs of a batch command that need Qt to draw: the report as a PDF
/// and the mass-haul diagram as a picture. The program built with Qt
/// installs them; the small batch program has none and hands any command
/// that asks for them over to the Qt program, so the common commands start
/// without loading Qt at all.
struct Drawing {
  /// Prints every page of the report file into `path`.
  bool (*reportPdf)(ProgramState& state, const std::string& path) = nullptr;
  /// Writes the diagram of `haul` into each named file (empty names skipped).
  bool (*haulPictures)(const MassHaul& haul, const ProjectStore& store,
                       const std::string& groupName, const std::string& pdf, const std::string& svg,
                       const std::string& png) = nullptr;
};

void InstallDrawing(const Drawing& drawing);
const Drawing& InstalledDrawing();

/// True when `args` ask for what only the Qt program does: the window, or
/// a drawn output (`report --pdf`, `haul --pdf/--svg/--png`).
bool NeedsQt(const std::vector<std::string>& args);

/// Runs the Qt program beside this one with the same arguments in place of
/// this process. Returns only when it cannot be started, with the exit code
/// after saying why.
int HandOverToQtProgram(char** argv);

}  // namespace earthwork::cli
