#include "printing/PagePrint.h"

#include <algorithm>
#include <cmath>

#include "printing/Paging.h"
#include "project/Errors.h"

namespace earthwork {

namespace {

constexpr double kLineFontSize = 8.28;

/// Courier's characters are 0.6 em wide: n characters at s points take
/// n * s * 0.6 / 72 inches, which is n * s / 10 character units.
constexpr double kUnitsPerCharacterPoint = 0.1;
/// Room left for faces a little wider than Courier.
constexpr double kWidthSlack = 0.99;

/// Page geometry: positions are given as W - a and H - b.
struct Page {
  double W;
  double H;
};

Page PageOf(const ProgramState& state) {
  return {state.Report.PageWidth, state.Report.PageHeight};
}

void At(PageSurface& surface, double x, double y, const std::string& text) {
  surface.SetPosition(x, y);
  surface.Print(text);
}

int16_t Whole(double value) {
  return static_cast<int16_t>(std::lround(value));
}

/// The four lines of a box as wide as the page's line area and `rows` high.
void BoxSides(PageSurface& surface, const Page& p, double top, double rows) {
  surface.Line(p.W - 95, top, 0, rows);
  surface.Line(p.W - 2, top, 0, rows);
}

void Rule(PageSurface& surface, const Page& p, double y) {
  surface.Line(p.W - 95, y, p.W - 4, 0);
}

struct ColumnHead {
  int a;  // x = W - a
  const char* total[2];
  const char* accumulated[2];
};

constexpr ColumnHead kColumnHeads[] = {
    {93, {"STATION", nullptr}, {"STATION", nullptr}},
    {84, {"CUT", "AREA"}, {"CUT", "AREA"}},
    {75, {"ADDED", "CUT"}, {"ADDED", "CUT"}},
    {66, {"TOTAL", "CUT-VOL."}, {"ACCM.", "CUT-VOL."}},
    {57, {"FILL", "AREA"}, {"FILL", "AREA"}},
    {48, {"ADDED", "FILL"}, {"ADDED", "FILL"}},
    {40, {"TOTAL", "FILL-VOL."}, {"ACCM.", "FILL-VOL."}},
    {31, {"BALANCE", "FACTOR"}, {"BALANCE", "FACTOR"}},
    {22, {"ADJUSTED", "FILL-VOL."}, {"ACCM.", "NET-VOL."}},
    {13, {"MASS", "ORDINATE"}, {"ACCM.", "ADJ-FILL"}},
};

void WriteColumnHeads(ProgramState& state, PageSurface& surface, const Page& p, int16_t top) {
  const ReportKind kind = state.Report.AccumulatedReport;
  for (const ColumnHead& head : kColumnHeads) {
    const bool kindWord = head.a == 66 || head.a == 40;
    const bool kindColumn = head.a == 31 || head.a == 22 || head.a == 13;
    const bool known = kind == ReportKind::Total || kind == ReportKind::Accumulated;
    if (!known && kindColumn) continue;
    const auto& words = kind == ReportKind::Accumulated ? head.accumulated : head.total;
    const int16_t x = Whole(p.W - head.a);
    if (words[0] && (known || !kindWord)) {
      PutText(state, surface, x, static_cast<int16_t>(top + 1), words[0]);
    }
    if (words[1]) PutText(state, surface, x, static_cast<int16_t>(top + 2), words[1]);
  }
}

void WriteUnits(ProgramState& state, PageSurface& surface, const Page& p, int16_t top) {
  const bool metric = state.Project.UnitSystem == Units::Metric;
  const std::string area = metric ? "Sq.m." : "Sq.Ft.";
  const std::string volume = metric ? "Cu.m." : "Cu.Yds.";
  const auto y = static_cast<int16_t>(top + 3);
  for (int a : {84, 57}) PutText(state, surface, Whole(p.W - a), y, area);
  for (int a : {75, 66, 48, 40, 22, 13}) PutText(state, surface, Whole(p.W - a), y, volume);
}

/// Draws the furniture of page `page` before its first line.
void WriteFurniture(ProgramState& state, PageSurface& surface, const Clock& clock,
                    PreviewPane* preview, int page) {
  state.Report.HeaderPage = static_cast<int16_t>(page);
  if (preview) preview->BeginPage();
  if (page == 1) {
    WriteHeader(state, surface, clock);
    WriteFileBanner(state, surface, BannerKind::Full);
    WriteTables(state, surface, 48);
  } else if (preview) {
    WriteFileBanner(state, surface, BannerKind::Short);
    WriteTables(state, surface, 51);
    WriteHeader(state, surface, clock);
  } else {
    surface.NewPage();
    WriteTables(state, surface, 56);
    WriteHeader(state, surface, clock);
  }
}

/// Characters up to the last one that leaves ink.
size_t InkLength(std::string_view line) {
  const size_t last = line.find_last_not_of(' ');
  return last == std::string_view::npos ? 0 : last + 1;
}

/// The report lines' font size on paper: 8.28 points, or less when the
/// widest display line of the report, as either print path writes it,
/// would pass the right edge of the printable area. Both paths print the
/// same pages in the same size.
double LineFontSize(const ProgramState& state, const PageSurface& surface) {
  size_t widest = 0;
  ForEachReportLine(state.Report.ReportFileName, [&](std::string_view line) {
    if (IsDisplayLine(line)) {
      widest = std::max({widest, InkLength(line), InkLength(ReformatToPrint(line))});
    }
    return true;
  });
  if (widest == 0) return kLineFontSize;
  const double room = surface.PrintableWidth() - (state.Report.PageWidth - 95);
  const double fits = room / (static_cast<double>(widest) * kUnitsPerCharacterPoint);
  return std::min(kLineFontSize, std::floor(fits * kWidthSlack * 100) / 100);
}

/// The report lines follow the furniture in its 8.28 points; a report too
/// wide for that prints them smaller.
void UseLineFont(PageSurface& surface, double size) {
  if (size < kLineFontSize) surface.SetFontSize(size);
}

void RenderPage(ProgramState& state, PageSurface& surface, const Clock& clock,
                PreviewPane* preview) {
  const int page = state.Report.CurrentPage;
  const Page p = PageOf(state);
  const int64_t first = FirstDisplayLineOfPage(page);
  const int64_t last = page >= 1 ? first + LinesOnPage(page) : 0;
  const double top = page == 1 ? p.H - 45 : p.H - 52;
  // The preview's lines go into its text area, which fits them itself.
  const double lineSize = preview ? kLineFontSize : LineFontSize(state, surface);
  int64_t index = 0;  // of the display line
  ForEachReportLine(state.Report.ReportFileName, [&](std::string_view line) {
    if (index >= last) return false;
    if (!IsDisplayLine(line)) return true;
    if (index >= first) {
      if (index == first) {
        WriteFurniture(state, surface, clock, preview, page);
        UseLineFont(surface, lineSize);
      }
      surface.SetPosition(p.W - 95, top + static_cast<double>(index - first + 1));
      if (preview) {
        preview->AppendText("     " + std::string(line) + "\r\n");
      } else {
        surface.Print(ReformatToPrint(line));
      }
    }
    ++index;
    return true;
  });
  if (preview) preview->EndPage();
}

void PrintWholeReport(ProgramState& state, PageSurface& surface, const Clock& clock) {
  PreparePrinter(state, surface);
  const Page p = PageOf(state);
  const double lineSize = LineFontSize(state, surface);
  int rowsLeft = -1;  // no page started yet
  ForEachReportLine(state.Report.ReportFileName, [&](std::string_view line) {
    if (!IsDisplayLine(line)) return true;
    if (rowsLeft < 0) {
      state.Report.HeaderPage = 1;
      WriteHeader(state, surface, clock);
      WriteFileBanner(state, surface, BannerKind::Full);
      WriteTables(state, surface, 48);
      rowsLeft = kFirstPageLines;
      UseLineFont(surface, lineSize);
    } else if (rowsLeft == 0) {
      surface.NewPage();
      ++state.Report.HeaderPage;
      WriteHeader(state, surface, clock);
      WriteTables(state, surface, 56);
      rowsLeft = kLaterPageLines;
      UseLineFont(surface, lineSize);
    }
    surface.SetPosition(p.W - 95, p.H - rowsLeft);
    surface.Print(std::string(line));
    --rowsLeft;
    return true;
  });
  surface.EndDoc();
}

}  // namespace

std::string BaselineText(const ProgramState& state) {
  return state.Project.LogFileMode ? "BaseLine Name: " + state.Report.BaselineName : " ";
}

Result PreparePrinter(ProgramState& state, PageSurface& surface) {
  return Trap(state.dialogs, " System Error: ", "(Module10(PreparePrinter)).", [&] {
    surface.SetFontName("courier");
    state.Report.PageWidth = std::floor(surface.PrintableWidth());
    state.Report.PageHeight = std::floor(surface.PrintableHeight());
  });
}

void WriteFileBanner(ProgramState& state, PageSurface& surface, BannerKind kind) {
  Trap(state.dialogs, " System Error: ", "(Module10(WriteFileBanner)).", [&] {
    const Page p = PageOf(state);
    Rule(surface, p, p.H - 57);
    Rule(surface, p, p.H - 53);
    BoxSides(surface, p, p.H - 57, 4);
    surface.SetPosition(p.W - 76, p.H - 57);
    surface.SetFontSize(18);
    surface.SetBold(true);
    surface.Print("QUORVANE");
    At(surface, p.W - 73, p.H - 55, "EARTHWORK CALCULATION REPORT");
    if (kind == BannerKind::Short) {
      surface.SetFontSize(10);
      return;
    }
    const ProjectStore& store = state.Project;
    surface.SetFontSize(12);
    surface.SetBold(false);
    At(surface, p.W - 90, p.H - 52, "DESIGNER     :" + store.HeaderFields[0]);
    surface.SetBold(true);
    PutText(state, surface, Whole(p.W - 35), Whole(p.H - 52), "For " + store.Current().Name);
    surface.SetBold(false);
    At(surface, p.W - 90, p.H - 51, "PROJECT NO   :" + store.HeaderFields[1]);
    surface.SetBold(true);
    PutText(state, surface, Whole(p.W - 35), Whole(p.H - 51), BaselineText(state));
    surface.SetBold(false);
    At(surface, p.W - 90, p.H - 50, "CONTROL NO   :" + store.HeaderFields[2]);
    surface.SetFontSize(kLineFontSize);
    surface.SetPosition(p.W - 93, p.H - 47);
  });
}

void WriteHeader(ProgramState& state, PageSurface& surface, const Clock& clock) {
  Trap(state.dialogs, " System Error: ", "(Module10(WriteHeader)).", [&] {
    const Page p = PageOf(state);
    const ProjectStore& store = state.Project;
    surface.SetFontSize(kLineFontSize);
    At(surface, p.W - 86, p.H - 60, store.HeaderFields[0]);
    At(surface, p.W - 25, p.H - 60, clock.ShortDate());
    At(surface, p.W - 86, p.H - 59, store.HeaderFields[1]);
    At(surface, p.W - 86, p.H - 58, store.HeaderFields[2]);
    At(surface, p.W - 25, p.H - 59,
       "Pages : " + (" " + std::to_string(state.Report.HeaderPage) + " ") + " OF " +
           (" " + std::to_string(state.Report.PageCount) + " "));
    PutText(state, surface, Whole(p.W - 25), Whole(p.H - 58), BaselineText(state));
  });
}

void WriteTables(ProgramState& state, PageSurface& surface, int16_t topRow) {
  Trap(state.dialogs, "Program Error : ", " WriteTables(PepPrint)", [&] {
    const Page p = PageOf(state);
    const double top = p.H - topRow;
    for (int row : {0, 1, 4}) Rule(surface, p, top + row);
    BoxSides(surface, p, top, 4);
    // The heads fit their boxes at the lines' size, whatever font the
    // banner before left (a preview's later pages leave 10 points).
    surface.SetFontSize(kLineFontSize);
    surface.SetBold(true);
    surface.SetTransparent(true);
    At(surface, p.W - 68, top, "EXCAVATION");
    At(surface, p.W - 39, top, "EMBANKMENT");
    for (int a : {85, 58, 14}) surface.Line(p.W - a, top, 0, 4);
    for (int a : {76, 67, 49, 41, 32, 23}) surface.Line(p.W - a, top + 1, 0, 3);
    const int16_t topY = Whole(top);
    WriteColumnHeads(state, surface, p, topY);
    WriteUnits(state, surface, p, topY);
  });
}

void PutText(ProgramState& state, PageSurface& surface, int16_t x, int16_t y,
             const std::string& text) {
  Trap(state.dialogs, "Program Error: ", "(PutText(pepPrint))", [&] { At(surface, x, y, text); });
}

Result PrintOneByOne(ProgramState& state, PageSurface& surface, const Clock& clock,
                     PreviewPane* preview) {
  return Trap(state.dialogs, " System Error : ", " (form1(PrintOneByOne)).",
              [&] { RenderPage(state, surface, clock, preview); });
}

Result mnuRptPrint_click(ProgramState& state, PageSurface& surface, const Clock& clock,
                         const std::function<void()>& closePreview) {
  return Trap(state.dialogs, "Program Error : ", " occured in mnuRptPrint_click", [&] {
    PrintWholeReport(state, surface, clock);
    if (closePreview) closePreview();
  });
}

}  // namespace earthwork
