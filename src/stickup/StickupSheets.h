#pragma once

#include <string>

#include "platform/ports/Shell.h"
#include "project/ProgramState.h"

namespace earthwork {

// The fixed places the CAD program's drawing application relies on.
inline constexpr const char* kMdlSource =
    "C:\\Bentley\\Program\\MicroStation\\mdlapps\\ear\\mao.ma";
inline constexpr const char* kMdlCopy = "c:\\mao.ma";
inline constexpr const char* kDataFile = "c:\\p2.rpt";
inline constexpr const char* kDefaultSeed =
    "C:\\Bentley\\Program\\MicroStation\\mdlapps\\ear\\kernel.dgn";
inline constexpr const char* kCadProgram = "ustation.exe";
inline constexpr const char* kCadDirectory = "C:\\Bentley\\Program\\MicroStation\\";
inline constexpr const char* kKeyIn = "MDL LOAD C:\\mao.ma c:\\p2.rpt";

/// What the two drawing dialogs remember for the rest of the run.
struct StickupSession {
  std::string SeedPath = kDefaultSeed;
  std::string NewDrawingPath;
};

/// The new-drawing dialog as the button sees it: shown modally with a
/// proposed file name; on OK it has recorded the chosen drawing in the
/// session.
class NewDrawingDialog {
 public:
  virtual ~NewDrawingDialog() = default;
  virtual void ShowModal(const std::string& defaultName) = 0;
};

/// The Control No. followed by "0ew.dgn".
std::string DefaultDrawingName(const ProjectStore& store);

/// A file name in a directory listed by the dialogs, with one separator
/// between them ("\" on Windows, "/" elsewhere) unless the directory ends
/// in either separator or is a drive alone ("C:").
std::string JoinDirectory(const std::string& directory, const std::string& fileName);

/// Writes every group's report (of the kind AccumulatedReport asks for)
/// into one ReportFile, in group order, each with its own grand summary, then puts the current
/// group back and recounts the pages. Failed when a group's report failed (its message has been
/// shown).
[[nodiscard]] Result WriteAllGroupReports(ProgramState& state);

/// OK of the new-drawing dialog: asks before replacing an existing drawing,
/// copies the seed drawing to the target and records it. True when the
/// dialog may close; false keeps it open (answered No, or the copy failed).
bool AcceptNewDrawing(StickupSession& session, Dialogs& dialogs, Shell& shell,
                      const std::string& directory, const std::string& fileName);

/// OK of the seed dialog: records the chosen seed drawing.
void AcceptSeed(StickupSession& session, const std::string& directory, const std::string& fileName);

/// The hand-off: copies the drawing application and the report to their
/// fixed places, deletes the ReportFile, starts the CAD program on
/// `parameters` (the new drawing) in `directory` and types the key-in.
/// `operation` and `showCommand` are what the Windows shell is asked for.
/// Failed after a failed step (its message has been shown).
[[nodiscard]] Result RunShellExecute(ProgramState& state, Shell& shell,
                                     const std::string& operation, const std::string& file,
                                     const std::string& parameters, const std::string& directory,
                                     int showCommand);

}  // namespace earthwork
