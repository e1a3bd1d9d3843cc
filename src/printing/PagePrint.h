#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ports/PageSurface.h"
#include "platform/ports/Shell.h"
#include "project/ProgramState.h"

namespace earthwork {

/// The preview window's side of rendering one page: its page surface is
/// drawn on like the printer's, while the report lines go into its text
/// area instead.
class PreviewPane {
 public:
  virtual ~PreviewPane() = default;
  /// Clears the page surface, unlocks and empties the text area.
  virtual void BeginPage() = 0;
  virtual void AppendText(const std::string& text) = 0;
  /// Locks the text area; shows the window modally unless it is shown
  /// already (then the page commands are rendering into the open window).
  virtual void EndPage() = 0;
};

enum class BannerKind { Full, Short };

/// Sets the surface's font to courier and PageWidth / PageHeight to the
/// whole character units of its printable area.
Result PreparePrinter(ProgramState& state, PageSurface& surface);

/// The boxed agency banner: with the header fields (page 1) or the title
/// only (later preview pages).
void WriteFileBanner(ProgramState& state, PageSurface& surface, BannerKind kind);

/// The page header: header fields, date and "Pages : n OF m".
void WriteHeader(ProgramState& state, PageSurface& surface, const Clock& clock);

/// The boxed column heading table whose top is `topRow` rows above the
/// page's bottom (48 on page 1, 51 on later preview pages, 56 on later
/// printed pages).
void WriteTables(ProgramState& state, PageSurface& surface, int16_t topRow);

/// Sets the position and writes the text.
void PutText(ProgramState& state, PageSurface& surface, int16_t x, int16_t y,
             const std::string& text);

/// Renders page CurrentPage of the ReportFile: on the printer when
/// `preview` is null (lines re-spaced by ReformatToPrint, later pages
/// start a new sheet), else on the preview's surface and text area.
[[nodiscard]] Result PrintOneByOne(ProgramState& state, PageSurface& surface, const Clock& clock,
                                   PreviewPane* preview = nullptr);

/// Prints the whole report on `surface` as written and ends the document;
/// then calls `closePreview` (the preview window closes after Print All).
[[nodiscard]] Result mnuRptPrint_click(ProgramState& state, PageSurface& surface,
                                       const Clock& clock,
                                       const std::function<void()>& closePreview = {});

/// "BaseLine Name: " and the log's baseline name in log mode, else " ".
std::string BaselineText(const ProgramState& state);

}  // namespace earthwork
